// 1 MiB of unit output through a pseudo-terminal into an open terminal window, against receiving
// the same bytes with no terminal listening, in two shapes: 64-byte lines, and no line ends at all.
// Both runs drive the user-interface loop the same way; the terminal run ends when the last byte is
// shown. Also prints how often the window repainted and the longest stall of the user-interface
// loop during the flood. Prints the worse of the two ratios last.
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextBlock>
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

Run Once(sim::SimUnit& unit, VkcSerialPort& port, ModulinkApp& app, const std::string& flood, bool terminal) {
  Counter counter;
  port.AddListener(&counter, kListenerGroupProtocol);
  VkcTerminalWnd* window = nullptr;
  PaintCounter paints;
  if (terminal) {
    window = new VkcTerminalWnd(app);
    window->show();
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
  delete window;
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
  double worst = 0;
  for (const bool lineEnds : {true, false}) {
    const std::string flood = Flood(lineEnds);
    const char* shape = lineEnds ? "64-byte lines" : "no line ends";
    double plain = 1e300, shown = 1e300;
    Run best;
    for (int i = 0; i < kRuns; ++i) {
      plain = std::min(plain, Once(unit, port, app, flood, false).ms);
      const Run run = Once(unit, port, app, flood, true);
      if (run.ms < shown) {
        shown = run.ms;
        best = run;
      }
    }
    std::printf("%s: 1 MiB received, no terminal: %.1f ms\n", shape, plain);
    std::printf("%s: 1 MiB received and shown in a terminal window: %.1f ms\n", shape, shown);
    std::printf("%s: terminal repaints during the flood: %d, longest user-interface stall: %.1f ms\n", shape,
                best.paints, best.longestStallMs);
    std::printf("%s: shown against received: %.2f\n", shape, shown / plain);
    worst = std::max(worst, shown / plain);
  }
  std::printf("ratio: %.2f (the worse shape)\n", worst);
  port.Close();
  return 0;
}
