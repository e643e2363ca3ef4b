// The terminal window against the simulated unit on a pseudo-terminal: what is received shows,
// what is typed or pasted reaches the unit; and its display and key rules.

#include "app/VkcTerminalWnd.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QPointer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTest>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/ModulinkApp.h"
#include "app/VkcTerminalEdit.h"
#include "link/ListenerRegistry.h"
#include "link/VkcSerialPort.h"
#include "sim/SimTextListener.h"
#include "sim/SimUnit.h"
#include "support/PageWidgets.h"
#include "support/TestSupport.h"

namespace {

TEST(TerminalText, LineEndsAndControlBytes) {
  struct Case {
    std::vector<std::string> blocks;
    std::string shown;
  } cases[] = {
      {{"AB\r\nD"}, "AB\nD"},
      {{"A\rB", "A\nB"}, "A\nBA\nB"},
      {{"A\r", "\nB"}, "A\nB"},  // CR LF split between two blocks is one line break
      {{"\r\r\n\n"}, "\n\n\n"},
      {{std::string("\x07\x00\x1b\x08", 4)}, "...\b"},
      {{"\x7f\xe9 ~"}, "\x7f\xe9 ~"},
  };
  for (const Case& c : cases) {
    bool afterCr = false;
    std::string shown;
    for (const std::string& b : c.blocks)
      shown += VkcTerminalWnd::ToDisplayText(reinterpret_cast<const uint8_t*>(b.data()), b.size(), afterCr);
    EXPECT_EQ(shown, c.shown) << c.blocks.front();
  }
}

TEST(TerminalText, KeysSendOneByteEachOrNothing) {
  struct Case {
    int key;
    QString text;
    std::string bytes;
  } cases[] = {
      {Qt::Key_A, "a", "a"},
      {Qt::Key_Return, "\r", "\r"},
      {Qt::Key_Enter, "", "\r"},
      {Qt::Key_Backspace, "\b", "\b"},
      {Qt::Key_C, QString(QChar(3)), "\x03"},  // Ctrl+C goes to the unit
      {Qt::Key_Escape, QString(QChar(27)), ""},
      {Qt::Key_Left, "", ""},
      {Qt::Key_Home, "", ""},
      {Qt::Key_Delete, QString(QChar(127)), ""},
      {Qt::Key_F5, "", ""},
      {Qt::Key_Eacute, QString(QChar(0xE9)), "\xe9"},
  };
  for (const Case& c : cases) EXPECT_EQ(VkcTerminalEdit::KeyToBytes(c.key, c.text), c.bytes) << c.key;
}

class TerminalWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(unit.IsOk());
    app.SetPorts(&port, nullptr);
    app.SetMessageBoxFunction([this](const std::u16string& text, unsigned) {
      messages.push_back(text);
      return 1;
    });
  }
  void TearDown() override { port.Close(); }
  static std::string Shown(VkcTerminalWnd& w) { return w.Edit()->toPlainText().toStdString(); }
  static bool WaitShown(VkcTerminalWnd& w, const std::string& text) {
    return testsupport::WaitUntil(
        [&] {
          QApplication::processEvents();
          return Shown(w) == text;
        },
        5000);
  }

  testsupport::TempDir dir;
  ModulinkApp app{dir.File("settings.vkc")};
  sim::SimUnit unit;
  VkcSerialPort port;
  std::vector<std::u16string> messages;
};

TEST_F(TerminalWindow, TypedBytesReachTheUnitAndWhatItSendsShowsInEveryTerminal) {
  ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
  const size_t listeners = ListenerRegistry::Global().Count();
  QWidget parent;
  QPointer<VkcTerminalWnd> first = VkcTerminalWnd::Open(app, &parent);
  QPointer<VkcTerminalWnd> second = VkcTerminalWnd::Open(app, &parent);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(first->windowTitle(), "Terminal Window");
  EXPECT_TRUE(first->isWindow());
  EXPECT_EQ(ListenerRegistry::Global().Count(), listeners + 2);

  // Typed text goes to the unit unechoed; the unit's echo and answer are what shows.
  QTest::keyClicks(first->Edit(), "ab");
  QTest::keyClick(first->Edit(), Qt::Key_Escape);
  QTest::keyClick(first->Edit(), Qt::Key_Left);
  QTest::keyClick(first->Edit(), Qt::Key_Return);
  ASSERT_TRUE(unit.WaitForCommands(1, 5000));
  EXPECT_EQ(unit.Received(), "ab\r");
  const std::string answer = "ab\n@01\n\nCLI>";
  EXPECT_TRUE(WaitShown(*first, answer)) << Shown(*first);
  EXPECT_TRUE(WaitShown(*second, answer)) << Shown(*second);

  // Control bytes show as '.', a backspace takes back the last character.
  unit.Send("\r\nx\x07y\bz\b\b\b\bq");
  EXPECT_TRUE(WaitShown(*first, answer + "q")) << Shown(*first);

  // The terminal group muted (as while the loader receives a file): nothing shows.
  sim::TextListener protocol;
  port.AddListener(&protocol, kListenerGroupProtocol);
  port.EnableListenerGroup(kListenerGroupTerminal, false);
  unit.Send("hidden");
  ASSERT_TRUE(testsupport::WaitUntil([&] { return protocol.Text() == "hidden"; }, 5000));
  port.EnableListenerGroup(kListenerGroupTerminal, true);
  port.RemoveListener(&protocol);
  unit.Send("!");
  EXPECT_TRUE(WaitShown(*second, answer + "q!")) << Shown(*second);

  // Paste writes the clipboard to the unit, line feeds as CR LF; nothing is inserted.
  unit.ClearRecord();
  QGuiApplication::clipboard()->setText("A\nB\r\nC");
  first->Edit()->Paste();
  ASSERT_TRUE(unit.WaitForReceived("A\r\nB\r\nC", 5000));

  delete first.data();
  EXPECT_EQ(ListenerRegistry::Global().Count(), listeners + 1);
  second->close();  // deleted on close
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(second.isNull());
  EXPECT_EQ(ListenerRegistry::Global().Count(), listeners);
}

TEST_F(TerminalWindow, LongLinesAreBrokenForDisplayOnly) {
  constexpr int kLine = VkcTerminalWnd::kMaxLineLength;
  std::string letters;
  for (int i = 0; i < 300; ++i) letters += static_cast<char>('a' + i % 26);
  struct Case {
    std::string received;
    int blocks;          // as shown
    std::string copied;  // Copy of the whole text
  } cases[] = {
      {std::string(3 * kLine + 5, 'x') + "y\bz", 4, std::string(3 * kLine + 5, 'x') + "z"},
      // A backspace passes over the window's break to the unit's last character.
      {std::string(kLine, 'a') + "B\b\b", 1, std::string(kLine - 1, 'a')},
      {std::string(kLine, 'a') + "B\b", 1, std::string(kLine, 'a')},
      {"AB\r\n\bC", 1, "ABC"},  // the unit's own line end is a character it takes back
      {letters + "\r\nend", 4, letters + "\nend"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    VkcTerminalWnd terminal(app);
    terminal.OnDataReceived(reinterpret_cast<const uint8_t*>(c.received.data()), c.received.size(), nullptr);
    terminal.OnTerminalData();
    QTextDocument* doc = terminal.Edit()->document();
    EXPECT_EQ(doc->blockCount(), c.blocks);
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) EXPECT_LE(b.length() - 1, kLine);
    terminal.Edit()->selectAll();
    terminal.Edit()->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), c.copied);
  }
}

// Copy of the whole text against a model of what the unit sent: each chunk is shown before the
// next; a backspace takes back the unit's last character, a line end being one.
TEST_F(TerminalWindow, BackspacesAndCopySeeTheUnitsTextAcrossTheWindowsBreaks) {
  constexpr int kLine = VkcTerminalWnd::kMaxLineLength;
  const std::string bs(1, '\b');
  std::string letters;
  for (int i = 0; i < 200; ++i) letters += static_cast<char>('a' + i % 26);
  std::vector<std::vector<std::string>> sequences = {
      {"x\r\n" + std::string(kLine, 'a'), "B", bs + bs},
      {"x\r\n" + std::string(kLine, 'a'), "B", bs + bs, std::string(kLine, '\b')},
      {"line1\r\nCLI>" + std::string(kLine - 4, 'c'), "d", "\b \b", "\r\n@01\r\n"},
      {letters, "\r\nb", bs + bs},
      {std::string(kLine, 'a'), "B\r\n", bs + bs},
  };
  // Mixed runs of letters, line ends and backspaces, some longer than a shown line.
  for (unsigned seed = 1; seed <= 24; ++seed) {
    std::mt19937 random(seed);
    std::vector<std::string> chunks;
    for (int c = 0; c < 12; ++c) {
      std::string chunk;
      for (int part = 0; part < 3; ++part) {
        const unsigned kind = random() % 4;
        const size_t run = 1 + random() % (kind == 0 ? 300 : 140);
        if (kind == 0) {
          for (size_t i = 0; i < run; ++i) chunk += static_cast<char>('A' + random() % 26);
        } else if (kind == 1) {
          chunk += "\r\n";
        } else {
          chunk += std::string(run % 3 == 0 ? run : 1 + run % 4, '\b');
        }
      }
      chunks.push_back(chunk);
    }
    sequences.push_back(chunks);
  }
  for (size_t n = 0; n < sequences.size(); ++n) {
    SCOPED_TRACE(n);
    VkcTerminalWnd terminal(app);
    std::string model;
    std::vector<std::string> chunks = {"first\r\nsecond\r\n"};
    chunks.insert(chunks.end(), sequences[n].begin(), sequences[n].end());
    for (const std::string& chunk : chunks) {
      terminal.OnDataReceived(reinterpret_cast<const uint8_t*>(chunk.data()), chunk.size(), nullptr);
      terminal.OnTerminalData();
      for (size_t i = 0; i < chunk.size(); ++i) {
        if (chunk[i] == '\b') {
          if (!model.empty()) model.pop_back();
        } else if (chunk[i] == '\r') {
          model += '\n';
          ++i;  // its LF
        } else {
          model += chunk[i];
        }
      }
    }
    QGuiApplication::clipboard()->clear();
    terminal.Edit()->selectAll();
    terminal.Edit()->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), model);
  }
}

TEST_F(TerminalWindow, AFloodKeepsTheNewestHundredThousandWholeLines) {
  struct Case {
    const char* name;
    std::string (*line)(int);
  } const cases[] = {
      {"short lines", [](int i) { return "line " + std::to_string(i); }},
      {"lines as long as a shown line", [](int i) {
         std::string text = "line " + std::to_string(i) + " ";
         text.resize(VkcTerminalWnd::kMaxLineLength, '=');
         return text;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VkcTerminalWnd terminal(app);
    std::string lines;
    for (int i = 0; i < 100'050; ++i) lines += c.line(i) + "\r\n";
    terminal.OnDataReceived(reinterpret_cast<const uint8_t*>(lines.data()), lines.size(), nullptr);
    QTextDocument* doc = terminal.Edit()->document();
    const QString last = QString::fromStdString(c.line(100'049));
    ASSERT_TRUE(testsupport::WaitUntil(
        [&] {
          QApplication::processEvents();
          return doc->lastBlock().previous().text() == last;
        },
        60000));
    EXPECT_EQ(doc->firstBlock().text().toStdString(), c.line(50));
    EXPECT_EQ(doc->blockCount(), 100'001);
  }
}

// The menu takes no focus: its Copy finds the selection, and only a real focus-in moves the caret.
TEST_F(TerminalWindow, CopyFromTheMenuTakesTheSelectionAsTheUnitSentIt) {
  QWidget parent;
  QPointer<VkcTerminalWnd> terminal = VkcTerminalWnd::Open(app, &parent);
  VkcTerminalEdit* edit = terminal->Edit();
  QApplication::setActiveWindow(terminal);
  edit->setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(edit->hasFocus());
  const std::string letters(VkcTerminalWnd::kMaxLineLength + 40, 'q');
  const std::string received = "x\r\nline " + letters + "\r\nend";
  terminal->OnDataReceived(reinterpret_cast<const uint8_t*>(received.data()), received.size(), nullptr);
  terminal->OnTerminalData();
  QTextCursor selection = edit->textCursor();
  selection.setPosition(3);  // from "ine", over the window's break, to the unit's next line end
  selection.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, 2);
  edit->setTextCursor(selection);
  QGuiApplication::clipboard()->setText(QStringLiteral("other"));

  ASSERT_TRUE(testsupport::ChooseFromContextMenu(edit, Qt::Key_C));
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "ine " + letters + "\n");
  EXPECT_TRUE(edit->textCursor().hasSelection());

  QFocusEvent fromAnotherWindow(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(edit, &fromAnotherWindow);
  EXPECT_FALSE(edit->textCursor().hasSelection());
  EXPECT_TRUE(edit->textCursor().atEnd());
  delete terminal.data();
}

TEST_F(TerminalWindow, TabIsTypedToTheUnitNotAFocusMove) {
  ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
  QWidget parent;
  QPointer<VkcTerminalWnd> terminal = VkcTerminalWnd::Open(app, &parent);
  QTest::keyClick(terminal->Edit(), 'a');
  QTest::keyClick(terminal->Edit(), Qt::Key_Tab);
  QTest::keyClick(terminal->Edit(), Qt::Key_Backtab, Qt::ShiftModifier);
  QTest::keyClick(terminal->Edit(), 'b');
  EXPECT_TRUE(unit.WaitForReceived("a\t\tb", 5000)) << unit.Received();
  delete terminal.data();
}

TEST_F(TerminalWindow, ClosedPortIsToldAndTheWindowStays) {
  QWidget parent;
  QPointer<VkcTerminalWnd> terminal = VkcTerminalWnd::Open(app, &parent);
  EXPECT_EQ(messages, std::vector<std::u16string>{u"Communication port is not open"});
  EXPECT_TRUE(terminal->isVisible());
  QTest::keyClicks(terminal->Edit(), "x");  // tries the write, shows nothing
  EXPECT_EQ(Shown(*terminal), "");
  // The listener goes through the port it was added to, whichever port is current by then.
  VkcSerialPort other;
  app.SetPorts(&other, nullptr);
  EXPECT_EQ(terminal->ListenedPort(), &port);
  const size_t listeners = ListenerRegistry::Global().Count();
  delete terminal.data();
  EXPECT_EQ(ListenerRegistry::Global().Count(), listeners - 1);
}

}  // namespace
