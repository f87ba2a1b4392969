#include "shell/input_script.h"

#include <cctype>
#include <sstream>
#include "shell/command_line.h"
#include "util/text_scanner.h"

namespace {

constexpr int BUFFER_WIDTH = 1024, BUFFER_HEIGHT = 768;
constexpr int MAX_WAIT_FRAMES = 100000000;
constexpr int MAX_WHEEL_NOTCHES = 1000;

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

struct KeyName {
  const char* name;
  int vk;
};
constexpr KeyName KEY_NAMES[] = {
    {"enter", VK_RETURN}, {"escape", VK_ESCAPE}, {"backspace", VK_BACK}, {"space", VK_SPACE},
    {"shift", VK_SHIFT},  {"ctrl", VK_CONTROL},  {"left", VK_LEFT},      {"right", VK_RIGHT},
    {"up", VK_UP},        {"down", VK_DOWN},     {"home", VK_HOME},      {"end", VK_END},
    {"add", VK_ADD},      {"subtract", VK_SUBTRACT}};

MSG Message(UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  return m;
}

// lParam of key messages as Windows fills it: repeat count 1; a release also
// has the previous-state and transition bits.
constexpr LPARAM KEY_DOWN_PARAM = 1;
constexpr LPARAM KEY_UP_PARAM = static_cast<LPARAM>(0xC0000001u);

void AddKey(std::vector<MSG>* out, int vk, bool down, bool up) {
  if (down) out->push_back(Message(WM_KEYDOWN, static_cast<WPARAM>(vk), KEY_DOWN_PARAM));
  if (up) out->push_back(Message(WM_KEYUP, static_cast<WPARAM>(vk), KEY_UP_PARAM));
}

}  // namespace

bool ParseScriptKey(const std::string& word, int* virtualKey) {
  if (word.size() == 1) {
    const unsigned char c = static_cast<unsigned char>(word[0]);
    if (std::isalpha(c)) {
      *virtualKey = std::toupper(c);
      return true;
    }
    if (std::isdigit(c)) {
      *virtualKey = c;
      return true;
    }
    return false;
  }
  long long n = 0;
  if (ParseInteger(word, 10, 254, &n) && word[0] != '+' && word[0] != '-') {
    *virtualKey = static_cast<int>(n);
    return true;
  }
  const std::string name = Lower(word);
  for (const KeyName& k : KEY_NAMES) {
    if (name == k.name) {
      *virtualKey = k.vk;
      return true;
    }
  }
  return false;
}

bool ParseInputScript(const std::string& text, const std::string& name,
                      std::vector<ScriptCommand>* out, std::string* error) {
  std::vector<ScriptCommand> commands;
  std::istringstream in(text);
  std::string raw;
  int lineNumber = 0;
  while (std::getline(in, raw)) {
    ++lineNumber;
    std::string line = raw;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string shown = line;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    auto fail = [&](const std::string& what) {
      *error = name + ":" + std::to_string(lineNumber) + ": " + what + ": " + shown;
      return false;
    };

    // Every white-space character separates words alike.
    TextScanner words(line);
    std::string word;
    if (!words.Next(word, std::string::npos)) continue;  // empty or only a comment
    const size_t afterCommand = words.Position();
    std::vector<std::string> args;
    for (std::string w; words.Next(w, std::string::npos);) args.push_back(w);
    const std::string op = Lower(word);

    ScriptCommand cmd;
    cmd.line = lineNumber;
    // Commands with the rest of the line as their text.
    if (op == "type" || op == "screenshot") {
      TextScanner restOfLine(line.substr(afterCommand));
      restOfLine.SkipBlanks();
      std::string rest = line.substr(afterCommand + restOfLine.Position());
      while (!rest.empty() && IsBlankChar(static_cast<unsigned char>(rest.back()))) rest.pop_back();
      if (rest.empty()) return fail(op == "type" ? "type needs a text" : "screenshot needs a file name");
      if (op == "type") {
        for (char c : rest) {
          const unsigned char u = static_cast<unsigned char>(c);
          if (!(u < 0x80 && (std::isalnum(u) || c == ' ')))
            return fail("type takes only letters, digits and spaces");
        }
        cmd.op = ScriptOp::Type;
      } else {
        cmd.op = ScriptOp::Screenshot;
      }
      cmd.text = rest;
      commands.push_back(cmd);
      continue;
    }

    struct Positional {
      const char* name;
      ScriptOp op;
    };
    static constexpr Positional POSITIONAL[] = {
        {"move", ScriptOp::Move},   {"down", ScriptOp::Down},   {"up", ScriptOp::Up},
        {"click", ScriptOp::Click}, {"dblclick", ScriptOp::DblClick}, {"rdown", ScriptOp::RDown},
        {"rup", ScriptOp::RUp},     {"rclick", ScriptOp::RClick}};
    bool positional = false;
    for (const Positional& p : POSITIONAL) {
      if (op != p.name) continue;
      positional = true;
      long long x = 0, y = 0;
      if (args.size() != 2) return fail(op + " needs X and Y");
      if (!ParseInteger(args[0], 0, BUFFER_WIDTH - 1, &x) ||
          !ParseInteger(args[1], 0, BUFFER_HEIGHT - 1, &y))
        return fail("X and Y must be whole numbers within 0 ... 1023 and 0 ... 767");
      cmd.op = p.op;
      cmd.a = static_cast<int>(x);
      cmd.b = static_cast<int>(y);
    }
    if (positional) {
      commands.push_back(cmd);
      continue;
    }

    long long n = 0;
    if (op == "wait") {
      if (args.size() != 1 || !ParseInteger(args[0], 0, MAX_WAIT_FRAMES, &n))
        return fail("wait needs a whole number of frames (0 or more)");
      cmd.op = ScriptOp::Wait;
      cmd.a = static_cast<int>(n);
    } else if (op == "wheel") {
      if (args.size() != 1 || !ParseInteger(args[0], -MAX_WHEEL_NOTCHES, MAX_WHEEL_NOTCHES, &n))
        return fail("wheel needs a whole number of notches (-1000 ... 1000)");
      cmd.op = ScriptOp::Wheel;
      cmd.a = static_cast<int>(n);
    } else if (op == "keydown" || op == "keyup" || op == "key") {
      int vk = 0;
      if (args.size() != 1) return fail(op + " needs one key");
      if (!ParseScriptKey(args[0], &vk)) return fail("unknown key '" + args[0] + "'");
      cmd.op = op == "keydown" ? ScriptOp::KeyDown : op == "keyup" ? ScriptOp::KeyUp : ScriptOp::Key;
      cmd.a = vk;
    } else if (op == "close") {
      if (!args.empty()) return fail("close takes nothing after it");
      cmd.op = ScriptOp::Close;
    } else {
      return fail("unknown command '" + word + "'");
    }
    commands.push_back(cmd);
  }
  *out = std::move(commands);
  return true;
}

std::vector<MSG> ScriptMessages(const ScriptCommand& c) {
  std::vector<MSG> out;
  const LPARAM at = MAKELPARAM(c.a, c.b);
  constexpr WPARAM MK_LBUTTON = 1, MK_RBUTTON = 2;
  const MSG move = Message(WM_MOUSEMOVE, 0, at);
  switch (c.op) {
    case ScriptOp::Move: out = {move}; break;
    case ScriptOp::Down: out = {move, Message(WM_LBUTTONDOWN, MK_LBUTTON, at)}; break;
    case ScriptOp::Up: out = {move, Message(WM_LBUTTONUP, 0, at)}; break;
    case ScriptOp::Click:
      out = {move, Message(WM_LBUTTONDOWN, MK_LBUTTON, at), Message(WM_LBUTTONUP, 0, at)};
      break;
    case ScriptOp::DblClick:
      out = {move, Message(WM_LBUTTONDOWN, MK_LBUTTON, at), Message(WM_LBUTTONUP, 0, at),
             Message(WM_LBUTTONDBLCLK, MK_LBUTTON, at), Message(WM_LBUTTONUP, 0, at)};
      break;
    case ScriptOp::RDown: out = {move, Message(WM_RBUTTONDOWN, MK_RBUTTON, at)}; break;
    case ScriptOp::RUp: out = {move, Message(WM_RBUTTONUP, 0, at)}; break;
    case ScriptOp::RClick:
      out = {move, Message(WM_RBUTTONDOWN, MK_RBUTTON, at), Message(WM_RBUTTONUP, 0, at)};
      break;
    case ScriptOp::Wheel: {
      // One message per notch, 120 per notch in the high word.
      const int delta = c.a < 0 ? -120 : 120;
      const WPARAM w = static_cast<WPARAM>(static_cast<uint16_t>(delta)) << 16;
      for (int i = 0; i < (c.a < 0 ? -c.a : c.a); ++i) out.push_back(Message(WM_MOUSEWHEEL, w, 0));
      break;
    }
    case ScriptOp::KeyDown: AddKey(&out, c.a, true, false); break;
    case ScriptOp::KeyUp: AddKey(&out, c.a, false, true); break;
    case ScriptOp::Key: AddKey(&out, c.a, true, true); break;
    case ScriptOp::Type:
      for (char ch : c.text) {
        const unsigned char u = static_cast<unsigned char>(ch);
        if (ch == ' ') {
          AddKey(&out, VK_SPACE, true, true);
        } else if (std::isupper(u)) {
          AddKey(&out, VK_SHIFT, true, false);
          AddKey(&out, u, true, true);
          AddKey(&out, VK_SHIFT, false, true);
        } else {
          AddKey(&out, std::toupper(u), true, true);
        }
      }
      break;
    case ScriptOp::Close: out = {Message(WM_CLOSE, 0, 0)}; break;
    case ScriptOp::Wait:
    case ScriptOp::Screenshot: break;
  }
  return out;
}

bool InputScriptPlayer::BeforeFrame(HWND window) {
  if (waitFrames_ > 0) {
    --waitFrames_;
    return false;
  }
  bool posted = false;
  while (next_ < commands_.size()) {
    const ScriptCommand& c = commands_[next_++];
    if (c.op == ScriptOp::Wait) {
      if (c.a == 0) continue;
      // The frame that follows is the first of the N.
      waitFrames_ = c.a - 1;
      break;
    }
    if (c.op == ScriptOp::Screenshot) {
      screenshots_.push_back(c.text);
      continue;
    }
    for (const MSG& m : ScriptMessages(c)) {
      PostMessage(window, m.message, m.wParam, m.lParam);
      posted = true;
    }
    if (c.op == ScriptOp::Close) {
      next_ = commands_.size();  // nothing after the window is closed
      break;
    }
  }
  return posted;
}

std::vector<std::string> InputScriptPlayer::TakeScreenshots() {
  std::vector<std::string> shots;
  shots.swap(screenshots_);
  return shots;
}
