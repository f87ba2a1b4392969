#include "framework/time_bar.h"

#include <climits>
#include <cmath>
#include <string>

#include "data/language.h"
#include "gfx/font.h"
#include "util/app_context.h"
#include "util/change_key.h"
#include "util/format_text.h"

int WholeSecondsOf(double seconds) {
  if (!(seconds > 0)) return 0;  // also NaN
  if (seconds >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(seconds);
}

void DrawTimeBar(double playTime, Font* font, bool integerFormatter, const char* secondLine) {
  AppContext& app = GetAppContext();
  const int left = app.screenWidth / 2 - 150;
  const RECT source{0, 700, 300, 750};
  const D3DXVECTOR2 position{static_cast<float>(left), 0.0f};
  app.DrawSprite(app.texMenu2, &source, nullptr, nullptr, 0, &position, 0xFFFFFFFF);

  // The bar's text changes once a second; in between it is kept.
  static ChangeKey inputs;
  static std::string text;
  const int t = WholeSecondsOf(playTime);
  inputs.Begin();
  inputs.Add(t).Add(integerFormatter).Text(GetLangText(63)).Text(secondLine);
  if (inputs.Changed()) {
    text = integerFormatter ? FormatTextWin(GetLangText(63), {t / 60, t % 60})
                            : FormatText(GetLangText(63), {t / 60, t % 60});
    if (secondLine) {
      text += "\n";
      text += secondLine;
    }
  }
  TextItem item;
  item.text = text.c_str();
  item.rect = RECT{left, 0, left + 300, 50};
  item.colour = 0xFF000000;
  item.format = DT_CENTER | DT_VCENTER;
  item.font = font;
  GetFontManager().DrawTextItem(item);
}
