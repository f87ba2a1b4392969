// Input scripts: one command a line, delivered as the window messages a real
// player's action produces, before the next frame (see README.md).
#pragma once
#include <string>
#include <vector>
#include "platform/window.h"

enum class ScriptOp {
  Wait, Move, Down, Up, Click, DblClick, RDown, RUp, RClick, Wheel,
  KeyDown, KeyUp, Key, Type, Screenshot, Close
};

struct ScriptCommand {
  ScriptOp op = ScriptOp::Wait;
  int a = 0, b = 0;   // frames, x and y, notches or the virtual-key code
  std::string text;   // the text to type or the screenshot file
  int line = 0;       // line number in the script, from 1
};

// Parses a whole script. On a malformed line: false, and *error names the
// line ("NAME:LINE: what is wrong: the line").
bool ParseInputScript(const std::string& text, const std::string& name,
                      std::vector<ScriptCommand>* out, std::string* error);
// A key of keydown / keyup / key: a single letter or digit, a virtual-key
// number of two or more digits (10 ... 254), or one of the key names.
bool ParseScriptKey(const std::string& word, int* virtualKey);
// The window messages of one command, in delivery order (none for wait,
// screenshot).
std::vector<MSG> ScriptMessages(const ScriptCommand& command);

class InputScriptPlayer {
 public:
  explicit InputScriptPlayer(std::vector<ScriptCommand> commands) : commands_(std::move(commands)) {}
  // Runs the commands due before the next frame: posts their messages to the
  // window, notes screenshots for after the frame. True when it posted any.
  bool BeforeFrame(HWND window);
  // The screenshot files due after the frame just drawn (then forgotten).
  std::vector<std::string> TakeScreenshots();
  bool Finished() const { return next_ >= commands_.size() && waitFrames_ == 0; }

 private:
  std::vector<ScriptCommand> commands_;
  size_t next_ = 0;
  int waitFrames_ = 0;  // frames still to let pass before the next command
  std::vector<std::string> screenshots_;
};
