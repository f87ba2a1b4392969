#include "framework/answer_box.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "data/language.h"
#include "framework/denkar_game.h"
#include "gfx/font.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {
constexpr int SOUND_RIGHT = 1;   // klick_game
constexpr int SOUND_WRONG = 11;  // lamp1
constexpr unsigned TEXT_COLOUR = 0xFF000000;
constexpr DWORD CENTRED = DT_CENTER | DT_VCENTER;
const RECT kTile{100, 450, 150, 500};
const RECT kRightMark{150, 450, 200, 500};
}  // namespace

AnswerBox::AnswerBox(Denkar_Game& game, AnswerRules& rules, double rightSeconds,
                     double wrongSeconds)
    : game_(game), rules_(rules), rightSeconds_(rightSeconds), wrongSeconds_(wrongSeconds) {}

bool AnswerBox::TakesInput() const {
  return game_.started && game_.state == GAME_STATE_RUNNING && feedbackSeconds <= 0;
}

void AnswerBox::OnKeyDown(int key) {
  if (key == VK_SHIFT) {
    shiftHeld = true;
    return;
  }
  if (!TakesInput()) return;
  if (key == VK_BACK) {
    if (length_ > 0) answer_[--length_] = 0;  // nothing to remove in an empty answer
  } else if (length_ < CAPACITY - 1 && rules_.TakesKey(key, length_)) {
    answer_[length_++] = static_cast<char>(shiftHeld ? std::toupper(key) : std::tolower(key));
    answer_[length_] = 0;
  } else {
    return;
  }
  shownStale_ = true;
}

void AnswerBox::OnKeyUp(int key) {
  if (key == VK_SHIFT) {
    shiftHeld = false;
    return;
  }
  if (key != VK_RETURN || length_ == 0 || !TakesInput()) return;
  lastAnswerRight = rules_.IsRight(answer_);
  if (lastAnswerRight) {
    ++rightCount;
    feedbackSeconds = rightSeconds_;
  } else {
    ++wrongCount;
    feedbackSeconds = wrongSeconds_;
  }
  game_.app->PlaySoundEffect(lastAnswerRight ? SOUND_RIGHT : SOUND_WRONG, 1.0f);
  shownStale_ = true;
}

void AnswerBox::Update(int taskCount) {
  AppContext& app = *game_.app;
  if (game_.started) {
    if (feedbackSeconds > 0) {
      feedbackSeconds -= app.realFrameTime;
      if (feedbackSeconds <= 0) {
        feedbackSeconds = 0;
        // A play the player has left keeps its state (a quit stays a quit).
        if (game_.state == GAME_STATE_RUNNING) {
          if (Answered() < taskCount) {
            rules_.NextTask();
            Clear();
          } else {
            game_.state = GAME_STATE_ENDED;
          }
        }
        shownStale_ = true;
      }
    } else if (game_.state == GAME_STATE_RUNNING) {
      game_.playTime += app.realFrameTime;
    }
  }
  game_.record.playTime += app.frameTime;
}

void AnswerBox::Clear() {
  std::memset(answer_, 0, sizeof answer_);
  length_ = 0;
  shownStale_ = true;
}

void AnswerBox::RefreshShownText() {
  if (!shownStale_) return;
  const bool rightFeedback = InFeedback() && lastAnswerRight;
  const bool wrongFeedback = InFeedback() && !lastAnswerRight;
  shownText_ = rules_.ShownAnswer(answer_, rightFeedback);
  correctText_ = wrongFeedback ? rules_.CorrectAnswer() : std::string();
  const int shownLength = static_cast<int>(wrongFeedback ? correctText_.size() : shownText_.size());
  tileScale_ = rules_.TileScale(length_, shownLength);
  shownStale_ = false;
}

float AnswerBox::TileScale() {
  RefreshShownText();
  return tileScale_;
}

bool AnswerBox::CorrectAnswerVisible() const {
  if (!InFeedback() || lastAnswerRight) return false;
  return static_cast<int>(feedbackSeconds * 10) % 4 < 2;
}

void AnswerBox::Draw(float centreX, float centreY, Font* font) {
  AppContext& app = *game_.app;
  FontManager& fonts = GetFontManager();
  RefreshShownText();
  const float s = tileScale_;
  const D3DXVECTOR2 tileScale{s, 1.0f};
  const D3DXVECTOR2 tilePos{centreX - 25.0f * s, centreY - 25.0f};
  app.DrawSprite(app.texMisc1, &kTile, &tileScale, nullptr, 0, &tilePos, 0xFFFFFFFF);
  if (!InFeedback() || lastAnswerRight)
    fonts.DrawTextAt(shownText_.c_str(), centreX, centreY, TEXT_COLOUR, CENTRED, font);
  if (!InFeedback()) return;
  if (lastAnswerRight) {
    const D3DXVECTOR2 markPos{centreX + 25.0f * s, centreY - 25.0f};
    app.DrawSprite(app.texMisc1, &kRightMark, nullptr, nullptr, 0, &markPos, 0xFFFFFFFF);
  } else if (CorrectAnswerVisible()) {
    fonts.DrawTextAt(correctText_.c_str(), centreX, centreY, WRONG_COLOUR, CENTRED, font);
  }
}

double AnswerBox::Grade(int taskCount, double secondsPerPoint) const {
  const double timeTerm = game_.playTime / secondsPerPoint;
  double grade;
  if (game_.state == GAME_STATE_ENDED) {
    grade = 1.0 + 5.0 * wrongCount / std::max(taskCount, 1) + timeTerm;
  } else if (Answered() == 0) {
    grade = 6.0;
  } else {
    grade = 1.0 + 10.0 * wrongCount / Answered() + timeTerm;
  }
  return std::min(grade, 6.0);
}

std::string AnswerBox::ResultText(const std::string& playTimeLine, double grade) const {
  const int percent = Answered() > 0 ? rightCount * 100 / Answered() : 0;
  std::string text = playTimeLine;
  text += FormatText(GetLangText(30), {rightCount}) + "\n";
  text += FormatText(GetLangText(31), {wrongCount}) + "\n\n";
  text += FormatText(GetLangText(32), {percent}) + "\n\n";
  text += FormatText(GetLangText(50), {grade});
  return text;
}
