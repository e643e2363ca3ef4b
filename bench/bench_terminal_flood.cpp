// 1 MiB of unit output through a pseudo-terminal into an open terminal window, against receiving
// the same bytes with no terminal listening, in three shapes: 64-byte lines and no line ends at all
// into a fresh window, and 64-byte lines into a window already holding the 100,000 lines it keeps
// (each line shown then pushes the oldest out). Both runs drive the user-interface loop the same
// way; the terminal run ends when the last byte is shown. Also prints how often the window
// repainted and the longest stall of the user-interface loop during the flood, and each shape's
// ratio with its bound. Prints the worse ratio of the two fresh-window shapes last.
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/ModulinkApp.h"
#include "app/VkcTerminalEdit.h"
#include "app/VkcTerminalWnd.h"
#include "link/VkcComPortInterface.h"
#include "link/VkcSerialPort.h"
#include "sim/SimUnit.h"

namespace {

constexpr size_t kBytes = 1 << 20;
constexpr int kRuns = 15;
constexpr int kFullRuns = 5;  // each one costs a scroll-back's worth of removed lines
constexpr double kFreshBound = 3;
constexpr double kFullBound = 15;
constexpr double kStallBoundMs = 100;

class Counter : public VkcComPortInterface {
 public:
  void OnDataReceived(const uint8_t*, size_t length, VkcComPort*) override { bytes += length; }
  std::atomic<size_t> bytes{0};
};

class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(watched, event);
  }
  int paints = 0;
};

// The flood ends with this mark, so the run knows when its last byte is shown.
const std::string kEndMark = "<<END>>";

// Unit output: lines of printable text with CR LF, as a unit's listing would come; or, without
// line ends, one endless line of the same kind of text.
std::string Flood(bool lineEnds) {
  std::string out;
  out.reserve(kBytes + 64);
  for (size_t line = 0; out.size() < kBytes; ++line) {
    std::string text = "line " + std::to_string(line) + " RSSI=-87 BER=0 FREQ=433.125MHz ";
    while (text.size() < 62) text += static_cast<char>('A' + (line + text.size()) % 26);
    out += text;
    if (lineEnds) out += "\r\n";
  }
  out.resize(kBytes - kEndMark.size());
  return out + kEndMark;
}

struct Run {
  double ms = 0;
  int paints = 0;
  double longestStallMs = 0;
};

// Fills window with the lines it keeps, the last one ended, and waits until they are shown.
void Fill(VkcTerminalWnd& window) {
  std::string lines;
  for (int line = 0; line < VkcTerminalWnd::kMaxLines; ++line) {
    std::string text = "kept " + std::to_string(line) + " ";
    text.resize(62, '.');
    lines += text + "\r\n";
  }
  window.OnDataReceived(reinterpret_cast<const uint8_t*>(lines.data()), lines.size(), nullptr);
  const QTextDocument* doc = window.Edit()->document();
  while (doc->blockCount() < VkcTerminalWnd::kMaxLines || !doc->lastBlock().text().isEmpty() ||
         !doc->lastBlock().previous().text().startsWith(QStringLiteral("kept 99999 "))) {
    QApplication::processEvents();
  }
}

// filled: a window that already holds the lines it keeps, used run after run; nullptr: a fresh
// window for the run when terminal is set.
Run Once(sim::SimUnit& unit, VkcSerialPort& port, ModulinkApp& app, const std::string& flood, bool terminal,
         VkcTerminalWnd* filled = nullptr) {
  Counter counter;
  port.AddListener(&counter, kListenerGroupProtocol);
  VkcTerminalWnd* window = filled;
  PaintCounter paints;
  if (terminal) {
    if (window == nullptr) {
      window = new VkcTerminalWnd(app);
      window->show();
    } else {
      // The last run's end mark is ended, so only this run's mark ends the text.
      window->OnDataReceived(reinterpret_cast<const uint8_t*>("\r\n"), 2, nullptr);
      while (!window->Edit()->document()->lastBlock().text().isEmpty()) QApplication::processEvents();
    }
    window->Edit()->viewport()->installEventFilter(&paints);
    QApplication::processEvents();
    paints.paints = 0;
  }
  QElapsedTimer timer;
  timer.start();
  unit.Send(flood);
  qint64 last = 0;
  double stall = 0;
  for (;;) {
    QApplication::processEvents();
    const qint64 now = timer.nsecsElapsed();
    stall = std::max(stall, (now - last) / 1e6);
    last = now;
    if (counter.bytes.load() < kBytes) continue;
    if (!terminal) break;
    // The mark may straddle a break of an over-long line.
    const QTextBlock lastBlock = window->Edit()->document()->lastBlock();
    QString tail = lastBlock.text();
    if (tail.size() < static_cast<qsizetype>(kEndMark.size()) && lastBlock.previous().isValid())
      tail.prepend(lastBlock.previous().text());
    if (tail.endsWith(QString::fromStdString(kEndMark))) break;
  }
  Run run;
  run.ms = timer.nsecsElapsed() / 1e6;
  run.paints = paints.paints;
  run.longestStallMs = stall;
  if (window != nullptr) window->Edit()->viewport()->removeEventFilter(&paints);
  if (window != filled) delete window;
  port.RemoveListener(&counter);
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication qt(argc, argv);
  sim::SimUnit unit;
  VkcSerialPort port;
  if (!unit.IsOk() || !port.Open(unit.SlavePath16(), 115200, 8, 0, 0)) {
    std::fprintf(stderr, "no pseudo-terminal\n");
    return 1;
  }
  ModulinkApp app("/nonexistent/settings.vkc");
  app.SetPorts(&port, nullptr);
  struct Shape {
    const char* name;
    bool lineEnds;
    bool full;
    int runs;
    double bound;
  };
  const Shape shapes[] = {
      {"64-byte lines", true, false, kRuns, kFreshBound},
      {"no line ends", false, false, kRuns, kFreshBound},
      {"64-byte lines into a full window", true, true, kFullRuns, kFullBound},
  };
  double worstFresh = 0;
  for (const Shape& shape : shapes) {
    const std::string flood = Flood(shape.lineEnds);
    VkcTerminalWnd* filled = nullptr;
    if (shape.full) {
      filled = new VkcTerminalWnd(app);
      filled->show();
      Fill(*filled);
    }
    double plain = 1e300, shown = 1e300, stall = 0;
    Run best;
    for (int i = 0; i < shape.runs; ++i) {
      // The filled window listens only to its own runs.
      if (filled != nullptr) port.RemoveListener(filled);
      plain = std::min(plain, Once(unit, port, app, flood, false).ms);
      if (filled != nullptr) port.AddListener(filled, kListenerGroupTerminal);
      const Run run = Once(unit, port, app, flood, true, filled);
      stall = std::max(stall, run.longestStallMs);
      if (run.ms < shown) {
        shown = run.ms;
        best = run;
      }
    }
    delete filled;
    const double ratio = shown / plain;
    std::printf("%s: 1 MiB received, no terminal: %.1f ms\n", shape.name, plain);
    std::printf("%s: 1 MiB received and shown in a terminal window: %.1f ms\n", shape.name, shown);
    std::printf("%s: terminal repaints during the flood: %d, longest user-interface stall: %.1f ms (bound %.0f ms)%s\n",
                shape.name, best.paints, stall, kStallBoundMs, stall < kStallBoundMs ? "" : " MISSED");
    std::printf("%s: shown against received: %.2f (bound %.0f)%s\n", shape.name, ratio, shape.bound,
                ratio < shape.bound ? "" : " MISSED");
    if (!shape.full) worstFresh = std::max(worstFresh, ratio);
  }
  std::printf("ratio: %.2f (the worse fresh-window shape, bound %.0f)\n", worstFresh, kFreshBound);
  port.Close();
  return 0;
}
