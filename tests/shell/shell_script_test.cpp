// The command line and input scripts: parsing good and malformed input, the
// messages each command produces, and when the player delivers them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/window.h"
#include "shell/command_line.h"
#include "shell/input_script.h"

namespace {

bool Parse(const std::vector<std::string>& args, CommandLine* cmd, std::string* error) {
  return ParseCommandLine(args, cmd, error);
}

TEST(ShellCommandLine, OptionsAndTheirValues) {
  CommandLine cmd;
  std::string error;
  ASSERT_TRUE(Parse({}, &cmd, &error));
  EXPECT_FALSE(cmd.headless);
  EXPECT_EQ(cmd.frames, -1);
  EXPECT_FALSE(cmd.seedGiven);
  ASSERT_TRUE(Parse({"--headless", "--frames", "60", "--screenshot", "a b.png", "--seed",
                     "4294967295", "--windowed", "--input", "s.txt"},
                    &cmd, &error))
      << error;
  EXPECT_TRUE(cmd.headless);
  EXPECT_EQ(cmd.frames, 60);
  EXPECT_EQ(cmd.screenshot, "a b.png");
  EXPECT_TRUE(cmd.seedGiven);
  EXPECT_EQ(cmd.seed, 4294967295u);
  EXPECT_TRUE(cmd.windowed);
  EXPECT_EQ(cmd.inputFile, "s.txt");
  ASSERT_TRUE(Parse({"--frames", "0"}, &cmd, &error));
  EXPECT_EQ(cmd.frames, 0);
  ASSERT_TRUE(Parse({"--help"}, &cmd, &error));
  EXPECT_TRUE(cmd.help);
  EXPECT_NE(UsageText().find("--input FILE"), std::string::npos);
}

TEST(ShellCommandLine, BadOptionsAreRejectedWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {"--fullscreen"}, {"headless"},          {"--frames"},          {"--frames", "-1"},
      {"--frames", "1e3"}, {"--frames", "99999999999"}, {"--seed", "4294967296"},
      {"--seed", "-5"},  {"--seed", ""},      {"--screenshot"},      {"--input", ""},
      {"--frames", "12x"}};
  for (const auto& args : bad) {
    CommandLine cmd;
    std::string error;
    EXPECT_FALSE(Parse(args, &cmd, &error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
}

// --date fixes the calendar date the program reports, weekday included.
TEST(ShellCommandLine, DateFixesTodayForTheWholeRun) {
  CommandLine cmd;
  std::string error;
  ASSERT_TRUE(Parse({"--date", "2024-02-29", "--seed", "3"}, &cmd, &error)) << error;
  EXPECT_TRUE(cmd.dateGiven);
  EXPECT_EQ(cmd.dateYear, 2024);
  EXPECT_EQ(cmd.dateMonth, 2);
  EXPECT_EQ(cmd.dateDay, 29);
  EXPECT_NE(UsageText().find("--date YYYY-MM-DD"), std::string::npos);
  for (const char* bad : {"2023-02-29", "1900-02-29", "2024-04-31", "2024-13-01", "2024-00-10",
                          "2024-1-05", "24-01-05", "2024/01/05", "+024-01-05", "2024-01-5x",
                          "0999-12-31", "9901-01-01", ""}) {
    EXPECT_FALSE(Parse({"--date", bad}, &cmd, &error)) << bad;
    EXPECT_NE(error.find("--date"), std::string::npos);
  }
  EXPECT_FALSE(Parse({"--date"}, &cmd, &error));

  ClockFixDate(2000, 2, 29);
  SYSTEMTIME utc{}, local{};
  GetSystemTime(&utc);
  GetLocalTime(&local);
  const CalendarDate today = TodayUtc();
  ClockClearFixedDate();
  EXPECT_EQ(today.year, 2000);
  EXPECT_EQ(today.month, 2);
  EXPECT_EQ(today.day, 29);
  for (const SYSTEMTIME& t : {utc, local}) {
    EXPECT_EQ(t.wYear, 2000);
    EXPECT_EQ(t.wMonth, 2);
    EXPECT_EQ(t.wDay, 29);
    EXPECT_EQ(t.wDayOfWeek, 2);  // a Tuesday
  }
  EXPECT_FALSE(ClockDateIsFixed());
}

std::vector<ScriptCommand> ParseOk(const std::string& text) {
  std::vector<ScriptCommand> commands;
  std::string error;
  EXPECT_TRUE(ParseInputScript(text, "s.txt", &commands, &error)) << error;
  return commands;
}

TEST(ShellInputScript, EveryCommandParses) {
  const auto c = ParseOk(
      "# a comment line\n"
      "\n"
      "wait 5   # trailing comment\r\n"
      "move 0 0\n"
      "down 1023 767\n"
      "up 10 20\n"
      "click 512 259\n"
      "dblclick 3 4\n"
      "rdown 5 6\n"
      "rup 5 6\n"
      "rclick 7 8\n"
      "wheel -3\n"
      "keydown ctrl\n"
      "keyup Enter\n"
      "key a\n"
      "key 7\n"
      "key 112\n"
      "type Hello World 42\n"
      "screenshot shots/one shot.png\n"
      "  CLICK 1 2\n"
      "close\n");
  ASSERT_EQ(c.size(), 19u);
  EXPECT_EQ(c[0].op, ScriptOp::Wait);
  EXPECT_EQ(c[0].a, 5);
  EXPECT_EQ(c[0].line, 3);
  EXPECT_EQ(c[2].op, ScriptOp::Down);
  EXPECT_EQ(c[2].a, 1023);
  EXPECT_EQ(c[2].b, 767);
  EXPECT_EQ(c[9].op, ScriptOp::Wheel);
  EXPECT_EQ(c[9].a, -3);
  EXPECT_EQ(c[10].a, VK_CONTROL);
  EXPECT_EQ(c[11].op, ScriptOp::KeyUp);
  EXPECT_EQ(c[11].a, VK_RETURN);
  EXPECT_EQ(c[12].a, 'A');
  EXPECT_EQ(c[13].a, '7');  // a single digit is that digit's key
  EXPECT_EQ(c[14].a, 112);  // longer numbers are virtual-key numbers
  EXPECT_EQ(c[15].op, ScriptOp::Type);
  EXPECT_EQ(c[15].text, "Hello World 42");
  EXPECT_EQ(c[16].op, ScriptOp::Screenshot);
  EXPECT_EQ(c[16].text, "shots/one shot.png");
  EXPECT_EQ(c[17].op, ScriptOp::Click);
  EXPECT_EQ(c[18].op, ScriptOp::Close);
  EXPECT_EQ(c[18].line, 21);
}

TEST(ShellInputScript, EveryWhiteSpaceCharacterSeparatesAlike) {
  const std::vector<ScriptCommand> commands =
      ParseOk("\vtype hello\n\f\tscreenshot\v shot.png\f\n \vclick\f10\v20\n");
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].op, ScriptOp::Type);
  EXPECT_EQ(commands[0].text, "hello");
  EXPECT_EQ(commands[1].op, ScriptOp::Screenshot);
  EXPECT_EQ(commands[1].text, "shot.png");
  EXPECT_EQ(commands[2].op, ScriptOp::Click);
}

TEST(ShellInputScript, KeyNames) {
  const std::pair<const char*, int> names[] = {
      {"enter", 13},  {"escape", 27}, {"backspace", 8}, {"space", 32}, {"shift", 16},
      {"ctrl", 17},   {"left", 37},   {"right", 39},    {"up", 38},    {"down", 40},
      {"home", 36},   {"end", 35},    {"add", 107},     {"subtract", 109}, {"z", 'Z'},
      {"ESCAPE", 27}, {"0", '0'},     {"10", 10},       {"254", 254}};
  for (const auto& [name, vk] : names) {
    int key = 0;
    EXPECT_TRUE(ParseScriptKey(name, &key)) << name;
    EXPECT_EQ(key, vk) << name;
  }
  for (const char* bad : {"", "255", "1000", "-1", "+12", "ä", "f1", "ab", "#", "09x"}) {
    int key = 0;
    EXPECT_FALSE(ParseScriptKey(bad, &key)) << bad;
  }
}

TEST(ShellInputScript, AMalformedLineIsNamedWithItsNumber) {
  const char* bad[] = {
      "jump 1 2",     "move 1",           "move 1 2 3",   "move 1024 0",  "move 0 768",
      "click -1 5",   "click a b",        "wait",         "wait -1",      "wait 1.5",
      "wheel",        "wheel 1001",       "key",          "key f1",       "key a b",
      "keydown",      "type",             "type   ",      "type a-b",     "type Grüße",
      "screenshot",   "close now",        "rclick 5",     "dblclick 1 2 # ok\nmove x 1"};
  for (const char* line : bad) {
    const std::string text = std::string("wait 1\n") + line + "\n";
    std::vector<ScriptCommand> commands;
    std::string error;
    EXPECT_FALSE(ParseInputScript(text, "s.txt", &commands, &error)) << line;
    const bool secondLine = error.rfind("s.txt:2: ", 0) == 0;
    const bool thirdLine = error.rfind("s.txt:3: ", 0) == 0;
    EXPECT_TRUE(secondLine || thirdLine) << error;
  }
}

std::vector<UINT> Messages(const std::string& line) {
  std::vector<UINT> out;
  for (const MSG& m : ScriptMessages(ParseOk(line).at(0))) out.push_back(m.message);
  return out;
}

TEST(ShellInputScript, CommandsBecomeTheMessagesOfARealAction) {
  using V = std::vector<UINT>;
  EXPECT_EQ(Messages("move 1 2"), (V{WM_MOUSEMOVE}));
  EXPECT_EQ(Messages("down 1 2"), (V{WM_MOUSEMOVE, WM_LBUTTONDOWN}));
  EXPECT_EQ(Messages("up 1 2"), (V{WM_MOUSEMOVE, WM_LBUTTONUP}));
  EXPECT_EQ(Messages("click 1 2"), (V{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
  EXPECT_EQ(Messages("dblclick 1 2"),
            (V{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
  EXPECT_EQ(Messages("rclick 1 2"), (V{WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP}));
  EXPECT_EQ(Messages("key enter"), (V{WM_KEYDOWN, WM_KEYUP}));
  EXPECT_EQ(Messages("close"), (V{WM_CLOSE}));
  EXPECT_TRUE(Messages("wait 3").empty());

  const auto click = ScriptMessages(ParseOk("click 700 500").at(0));
  for (const MSG& m : click) {
    EXPECT_EQ(LOWORD(static_cast<uintptr_t>(m.lParam)), 700);
    EXPECT_EQ(HIWORD(static_cast<uintptr_t>(m.lParam)), 500);
  }
  // Wheel: one message per notch, +-120 in the high word.
  const auto wheel = ScriptMessages(ParseOk("wheel -2").at(0));
  ASSERT_EQ(wheel.size(), 2u);
  EXPECT_EQ(static_cast<int16_t>(HIWORD(wheel[0].wParam)), -120);
  EXPECT_EQ(static_cast<int16_t>(HIWORD(ScriptMessages(ParseOk("wheel 1").at(0))[0].wParam)), 120);
}

TEST(ShellInputScript, TypedCapitalsAreTypedWithShiftHeld) {
  const auto msgs = ScriptMessages(ParseOk("type aB 1").at(0));
  std::vector<std::pair<UINT, int>> got;
  for (const MSG& m : msgs) got.emplace_back(m.message, static_cast<int>(m.wParam));
  const std::vector<std::pair<UINT, int>> expected = {
      {WM_KEYDOWN, 'A'},        {WM_KEYUP, 'A'},
      {WM_KEYDOWN, VK_SHIFT},   {WM_KEYDOWN, 'B'},     {WM_KEYUP, 'B'}, {WM_KEYUP, VK_SHIFT},
      {WM_KEYDOWN, VK_SPACE},   {WM_KEYUP, VK_SPACE},
      {WM_KEYDOWN, '1'},        {WM_KEYUP, '1'}};
  EXPECT_EQ(got, expected);
}

LRESULT IgnoringProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

// How many messages wait in the queue (they are removed).
int Drain() {
  int n = 0;
  MSG msg;
  while (PeekMessage(&msg)) {
    GetMessage(&msg);
    ++n;
  }
  return n;
}

TEST(ShellInputScript, ThePlayerDeliversEachBatchBeforeItsFrameAndWaitsLetFramesPass) {
  ClearMessageQueue();
  PlatformWindow* window = PlatformWindow::Create("Denkarium", 1024, 768, true, false, IgnoringProc);
  ASSERT_NE(window, nullptr);
  InputScriptPlayer player(ParseOk(
      "move 1 1\nwait 0\nkey a\nwait 3\nscreenshot one.png\nclick 5 5\nscreenshot two.png\n"
      "wait 1\nclose\nmove 9 9\n"));
  // Frame 0: the move and the key (wait 0 lets no frame pass); frame 0 is the
  // first of the three waited frames.
  EXPECT_TRUE(player.BeforeFrame(window));
  EXPECT_EQ(Drain(), 3);
  EXPECT_TRUE(player.TakeScreenshots().empty());
  // Frames 1 and 2 pass without input.
  EXPECT_FALSE(player.BeforeFrame(window));
  EXPECT_FALSE(player.BeforeFrame(window));
  EXPECT_EQ(Drain(), 0);
  // Frame 3: the click; both screenshots show that frame.
  EXPECT_TRUE(player.BeforeFrame(window));
  EXPECT_EQ(Drain(), 3);
  EXPECT_EQ(player.TakeScreenshots(), (std::vector<std::string>{"one.png", "two.png"}));
  EXPECT_TRUE(player.TakeScreenshots().empty());
  // Frame 4: close, and nothing after it.
  EXPECT_TRUE(player.BeforeFrame(window));
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg));
  EXPECT_EQ(msg.message, WM_CLOSE);
  EXPECT_EQ(Drain(), 1);
  EXPECT_TRUE(player.Finished());
  EXPECT_FALSE(player.BeforeFrame(window));
  EXPECT_EQ(Drain(), 0);
  delete window;
}

}  // namespace
