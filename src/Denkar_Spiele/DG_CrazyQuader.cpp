#include "Denkar_Spiele/DG_CrazyQuader.h"

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "data/language.h"
#include "framework/time_bar.h"
#include "platform/clock.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

constexpr int FIELD_SIZE = 300;
constexpr int FIELD_GAP = 3;

// Which cells (a = column, b = row) a pattern sets.
using PatternRule = bool (*)(int a, int b);

// One row of patterns on the screen.
struct PatternRow {
  float y, x, step;
  std::vector<PatternRule> rules;
};

bool Is(int a, int b, std::initializer_list<std::pair<int, int>> cells) {
  for (const auto& [ca, cb] : cells)
    if (a == ca && b == cb) return true;
  return false;
}

// The patterns of each field size, row by row (W, H: screen size).
std::vector<PatternRow> PatternRows(int n, float W, float H) {
  const float y = 2 * H / 3;
  switch (n) {
    case 3:
      return {
          {y, W / 8, 3 * W / 16,
           {[](int a, int) { return a == 0; }, [](int a, int) { return a == 2; },
            [](int, int b) { return b == 0; }, [](int, int b) { return b == 2; },
            [](int a, int b) { return a < 2 && b < 2; }}},
          {y + 150, W / 8, W / 4,
           {[](int a, int b) { return a >= 1 && b < 2; }, [](int a, int b) { return a < 2 && b >= 1; },
            [](int a, int b) { return a >= 1 && b >= 1; }, [](int, int) { return true; }}},
      };
    case 4:
      return {
          {y, W / 8, 3 * W / 20,
           {[](int a, int) { return a == 0; }, [](int a, int) { return a == 3; },
            [](int, int b) { return b == 0; }, [](int, int b) { return b == 3; },
            [](int a, int b) { return a < 2 && b < 2; }, [](int a, int b) { return a >= 2 && b < 2; }}},
          {y + 100, W / 8, 3 * W / 20,
           {[](int a, int b) { return a < 2 && b >= 2; }, [](int a, int b) { return a >= 2 && b >= 2; },
            [](int a, int b) { return a >= 1 && a <= 2 && b >= 1 && b <= 2; },
            [](int a, int b) { return a == b; }, [](int a, int b) { return a + b == 3; },
            [](int, int) { return true; }}},
      };
    default:
      return {
          {y, W / 8, W / 12,
           {[](int a, int) { return a == 0; }, [](int a, int) { return a == 4; },
            [](int, int b) { return b == 0; }, [](int, int b) { return b == 4; },
            [](int a, int b) { return a < 2 && b < 2; }, [](int a, int b) { return a >= 3 && b < 2; },
            [](int a, int b) { return a < 2 && b >= 3; }, [](int a, int b) { return a >= 3 && b >= 3; },
            [](int a, int b) { return Is(a, b, {{0, 0}, {4, 4}}); },
            [](int a, int b) { return Is(a, b, {{4, 0}, {0, 4}}); }}},
          {y + 75, W / 8, W / 12,
           {[](int a, int b) { return a == 1 && b >= 1 && b <= 3; },
            [](int a, int b) { return a == 3 && b >= 1 && b <= 3; },
            [](int a, int b) { return b == 1 && a >= 1 && a <= 3; },
            [](int a, int b) { return b == 3 && a >= 1 && a <= 3; },
            [](int a, int b) { return (a == 2 && b >= 1 && b <= 3) || Is(a, b, {{1, 2}}); },
            [](int a, int b) { return (a == 2 && b >= 1 && b <= 3) || Is(a, b, {{3, 2}}); },
            [](int a, int b) { return (b == 2 && a >= 1 && a <= 3) || Is(a, b, {{2, 1}}); },
            [](int a, int b) { return (b == 2 && a >= 1 && a <= 3) || Is(a, b, {{2, 3}}); },
            [](int a, int b) { return Is(a, b, {{2, 1}, {2, 3}, {1, 2}, {3, 2}}); },
            [](int a, int b) { return Is(a, b, {{1, 1}, {3, 3}, {1, 3}, {3, 1}}); }}},
          {y + 150, W / 8, W / 12,
           {[](int a, int b) { return Is(a, b, {{1, 1}, {3, 3}}); },
            [](int a, int b) { return Is(a, b, {{1, 3}, {3, 1}}); },
            [](int a, int) { return a == 2; }, [](int, int b) { return b == 2; },
            [](int a, int b) { return a < 3 && b < 3; }, [](int a, int b) { return a >= 2 && b < 3; },
            [](int a, int b) { return a < 3 && b >= 2; }, [](int a, int b) { return a >= 2 && b >= 2; },
            [](int a, int b) {
              return Is(a, b, {{1, 0}, {3, 0}, {0, 1}, {4, 1}, {0, 3}, {4, 3}, {1, 4}, {3, 4}});
            },
            [](int, int) { return true; }}},
      };
  }
}

}  // namespace

DG_CrazyQuader::DG_CrazyQuader(int difficulty_) : Denkar_Game(difficulty_, "crazy.sav") {
  CrtSrand(GetTickCount());
  scheme = CrtRand() % 12;
  switch (difficulty_) {
    case 1: n = 4; scrambleCount = 30; break;
    case 2: n = 5; scrambleCount = 20; break;
    default: n = 3; scrambleCount = 40; break;
  }
  Build();
  state = GAME_STATE_RUNNING;
  playTime = 0.0;
  moveCount = 0;
}

DG_CrazyQuader::~DG_CrazyQuader() {
  patterns.Clear();
  delete target;
  delete field;
}

void DG_CrazyQuader::Build() {
  const int W = app->screenWidth, H = app->screenHeight;
  const D3DXVECTOR2 centre{static_cast<float>(W / 2), static_cast<float>(H / 2 - 150)};
  field = new QuadField(false, n, scheme, FIELD_SIZE, &centre, FIELD_GAP);
  target = new QuadField(false, n, scheme, FIELD_SIZE, &centre, FIELD_GAP);
  BuildPatterns();
  for (int k = 0; k < scrambleCount && patterns.Count() > 0; ++k)
    field->Apply(*patterns.Get(CrtRand() % patterns.Count()), true);
}

void DG_CrazyQuader::BuildPatterns() {
  const int size = n == 3 ? 100 : n == 4 ? 75 : 50;
  const int gap = n == 3 ? 3 : 0;
  const float W = static_cast<float>(app->screenWidth), H = static_cast<float>(app->screenHeight);
  for (const PatternRow& row : PatternRows(n, W, H)) {
    D3DXVECTOR2 centre{row.x, row.y};
    for (PatternRule rule : row.rules) {
      QuadField* pattern = new QuadField(false, n, scheme, size, &centre, gap);
      for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b) pattern->Set(a, b, rule(a, b));
      patterns.Insert(pattern);
      centre.x += row.step;
    }
  }
}

void DG_CrazyQuader::OnLButtonDown(int x, int y) {
  if (!started || state != GAME_STATE_RUNNING) return;
  bool moved = false;
  for (int i = 0; i < patterns.Count(); ++i) {
    QuadField* pattern = patterns.Get(i);
    if (!pattern->Contains(static_cast<float>(x), static_cast<float>(y))) continue;
    field->Apply(*pattern, true);
    moved = true;
  }
  // Only a click on a pattern is a move.
  if (!moved) return;
  ++moveCount;
  if (field->Equals(*target)) state = GAME_STATE_ENDED;
}

void DG_CrazyQuader::Update() {
  if (started && state == GAME_STATE_RUNNING) playTime += app->frameTime;
  record.playTime += app->frameTime;
}

void DG_CrazyQuader::ComputeGrade() {
  if (state != GAME_STATE_ENDED) {
    grade = 6.0;
    return;
  }
  grade = std::min(6.0, static_cast<double>(moveCount) / scrambleCount + 1.0 + playTime / 240.0);
}

const char* DG_CrazyQuader::GetDescriptionText() { return GetLangText(106); }
const char* DG_CrazyQuader::GetResultTitle() { return GetLangText(105); }
const char* DG_CrazyQuader::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_CrazyQuader::GetResultText() {
  resultText_ = PlayTimeLine();
  resultText_ += FormatText(GetLangText(29), {scrambleCount}) + "\n";
  resultText_ += FormatText(GetLangText(27), {moveCount}) + "\n\n";
  resultText_ += FormatText(GetLangText(50), {grade});
  return resultText_.c_str();
}

void DG_CrazyQuader::Render() {
  if (!started || state != GAME_STATE_RUNNING) return;
  DrawTimeBar(playTime, font);
  for (int i = 0; i < patterns.Count(); ++i) patterns.Get(i)->Draw();
  field->Draw();
}
