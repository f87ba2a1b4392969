// The twelve pages of the main menu: what each is built of and how it draws.
#include <algorithm>
#include <cmath>
#include <string>

#include "data/language.h"
#include "framework/denkar_game.h"
#include "framework/game_record.h"
#include "framework/statistics_text.h"
#include "framework/stats_record.h"
#include "framework/time_bar.h"
#include "gfx/fit_text.h"
#include "gfx/font.h"
#include "menu/game_list.h"
#include "framework/gui_element.h"
#include "menu/main_menu.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

// Button pictures in texMenu2 (normal state; the hover copy lies right below).
constexpr RECT WIDE{0, 700, 300, 750};
constexpr RECT SMALL{300, 700, 400, 750};
constexpr RECT SQUARE{250, 600, 300, 650};
constexpr RECT MEDIUM{50, 600, 200, 650};
constexpr RECT ARROW_UP{700, 700, 750, 750};
constexpr RECT ARROW_DOWN{750, 700, 800, 750};
constexpr RECT RADIO{600, 600, 624, 624};

constexpr RECT SMALL_PAGE{350, 600, 750, 900};   // texMenu1, pages 14 and 9
constexpr RECT INFO_PAGE{0, 600, 350, 1000};     // texMenu1, pages 38 and 45
constexpr RECT RESULT_PAGE{400, 0, 1000, 450};   // texMenu1, pages 55 and 57
constexpr RECT FULL_PAGE{0, 0, 800, 600};        // texMenu2, pages 40, 50, 52, 43

struct Caption {
  int text = -1;         // language text, -1 for a picture-only element
  bool centred = false;  // drawn centred in the button rather than hanging from its top
};

Caption CaptionOf(int id) {
  switch (id) {
    case 2: return {6};
    case 4: return {9};
    case 5: return {11};
    case 6: return {10};
    case 3: return {1};
    case 16: return {8};
    case 17: return {7};
    case 15: case 10: case 19: return {0};
    case 11: return {59};
    case 12: return {60};
    case 13: return {61};
    case 42: return {98, true};
    case 46: return {3};
    case 47: return {11};
    case 48: return {9};
    case 49: return {4};
    case 54: return {99, true};
    default:
      if (id >= 22 && id <= 37) return {GameListCaption(id - 22)};
      return {};
  }
}

// The question a reset button asks before it acts.
constexpr int CONFIRM_TEXT = 198;
// Lines of text keep this far from the left and right rim of their panel.
constexpr int PANEL_TEXT_MARGIN = 30;
// The 800 x 600 pages: text stays between the title band and the row of
// buttons at the bottom, with a little air to both.
constexpr int FULL_PAGE_TEXT_TOP = 64 + 8;
constexpr int FULL_PAGE_TEXT_BOTTOM = 525 - 8;
// The 600 x 450 result pages: the body below the title, the name being
// typed between the body and the confirm button.
constexpr int RESULT_TEXT_TOP = 75;
constexpr int RESULT_NAME_TOP = 310;
constexpr int RESULT_NAME_BOTTOM = 370;
// The name line keeps clear of the rosette in the page's lower left corner.
constexpr int RESULT_NAME_MARGIN = 80;
// A width no text reaches: for choosing a size by the height alone.
constexpr int ANY_WIDTH = 1 << 20;
// The text cursor of the name entry, and how long it shows and hides.
constexpr char CARET = '|';
constexpr double CARET_BLINK_SECONDS = 0.5;

int Width(const RECT& r) { return r.right - r.left; }

int TextWidth(Font* font, const char* text) {
  if (!font) return 0;
  int width = 0;
  font->MeasureText(text, RECT{0, 0, 100000, 100000}, DT_LEFT, &width, nullptr);
  return width;
}
int Height(const RECT& r) { return r.bottom - r.top; }

void AppendLine(std::string& out, const std::string& line) {
  out += line;
  out += '\n';
}

}  // namespace

GUIElement* MainMenu::MakePage(int id, int slot, RECT src) {
  const float x = static_cast<float>(app->screenWidth / 2 - Width(src) / 2);
  const float y = static_cast<float>(app->screenHeight / 2 - Height(src) / 2);
  GUIElement* page = new GUIElement(id, src, x, y, this, Game::ElementCallback(slot));
  delete elements[slot];
  elements[slot] = page;
  return page;
}

GUIElement* MainMenu::MakeChild(GUIElement* page, int id, RECT src, float x, float y) {
  GUIElement* child = new GUIElement(id, src, x, y, this, page->drawCallback);
  page->AddChild(child);
  return child;
}

void MainMenu::BuildPages() {
  GUIElement* p = MakePage(1, SLOT_MAIN, RECT{0, 0, 400, 600});
  MakeChild(p, 2, WIDE, 50, 150);
  MakeChild(p, 4, WIDE, 50, 225);
  MakeChild(p, 5, WIDE, 50, 300);
  MakeChild(p, 6, WIDE, 50, 375);
  MakeChild(p, 3, WIDE, 50, 450);
  MakeChild(p, 7, RADIO, 76, 552);
  MakeChild(p, 8, RADIO, 224, 552);

  p = MakePage(14, SLOT_MODE, SMALL_PAGE);
  MakeChild(p, 16, WIDE, 50, 75);
  MakeChild(p, 17, WIDE, 50, 150);
  MakeChild(p, 15, SMALL, 50, 225);

  p = MakePage(9, SLOT_DIFFICULTY, SMALL_PAGE);
  MakeChild(p, 11, WIDE, 50, 75);
  MakeChild(p, 12, WIDE, 50, 125);
  MakeChild(p, 13, WIDE, 50, 175);
  MakeChild(p, 10, SMALL, 50, 225);

  listOffset = 0;
  listLastRow = 6;
  BuildGameList();

  p = MakePage(38, SLOT_INFO, INFO_PAGE);
  MakeChild(p, 39, SQUARE, 10, 332);

  p = MakePage(40, SLOT_OVERALL, FULL_PAGE);
  MakeChild(p, 41, SQUARE, 50, 525);
  MakeChild(p, 42, MEDIUM, 600, 525);

  p = MakePage(45, SLOT_PAUSE, INFO_PAGE);
  MakeChild(p, 46, WIDE, 25, 75);
  MakeChild(p, 47, WIDE, 25, 150);
  MakeChild(p, 48, WIDE, 25, 225);
  MakeChild(p, 49, WIDE, 25, 300);

  p = MakePage(50, SLOT_HOW_TO, FULL_PAGE);
  MakeChild(p, 51, SQUARE, 50, 525);

  p = MakePage(52, SLOT_GAME_STATS, FULL_PAGE);
  MakeChild(p, 53, SQUARE, 50, 525);
  MakeChild(p, 54, SMALL, 650, 525);

  p = MakePage(55, SLOT_RESULT, RESULT_PAGE);
  MakeChild(p, 56, SQUARE, 275, 375);

  p = MakePage(57, SLOT_SERIES, RESULT_PAGE);
  MakeChild(p, 58, SQUARE, 275, 375);

  p = MakePage(43, SLOT_HELP, FULL_PAGE);
  MakeChild(p, 44, SQUARE, 50, 525);
}

void MainMenu::BuildGameList() {
  // The clicked arrow goes with the old page: forget it as the hovered (and
  // pressed) element.
  hitElement = nullptr;
  pressedElement = nullptr;
  delete elements[SLOT_GAME_LIST];
  elements[SLOT_GAME_LIST] = nullptr;
  GUIElement* p = MakePage(18, SLOT_GAME_LIST, RECT{0, 0, 400, 700});
  for (int i = 0; i <= listLastRow; ++i)
    MakeChild(p, 22 + listOffset + i, WIDE, 50, 135.0f + 60.0f * i);
  MakeChild(p, 19, SMALL, 150, 625);
  if (listOffset > 0) MakeChild(p, 20, ARROW_UP, 175, 75);
  if (listOffset < GAME_LIST_COUNT - 1 - listLastRow) MakeChild(p, 21, ARROW_DOWN, 175, 560);
  // Whatever now lies under the pointer is hovered at once.
  if (elementEnabled[SLOT_GAME_LIST]) HitTestElements(-1);
}

// ---------------------------------------------------------------- texts

std::string MainMenu::OverallStatisticsText(Font* lineFont, int lineWidth) const {
  std::string out = OverallPlacesText(lineFont, lineWidth);
  if (StatsRecord* stats = app->statistics) AppendTotalsText(out, stats->totalTime, *stats);
  return out;
}

std::string MainMenu::OverallPlacesText(Font* lineFont, int lineWidth) const {
  std::string out;
  StatsRecord* stats = app->statistics;
  if (!stats) return out;
  for (int place = 0; place < 10; ++place) {
    std::string line;
    if (SeriesEntry* e = stats->Entries().Get(place)) {
      // Only the three known difficulties have a word; other values from a
      // damaged file show none.
      const char* word = e->difficulty >= 0 && e->difficulty <= 2 ? LangTextOrEmpty(59 + e->difficulty) : "";
      auto build = [&](const std::string& name) {
        return FormatText(GetLangText(62), {place + 1, name.c_str(), e->grade, e->bestGrade, e->worstGrade}) +
               word;
      };
      // A long name is shortened so the line fits the page; the grades and
      // the difficulty always stay whole.
      line = FitNameInLine(lineFont, lineWidth, e->name, build);
    }
    AppendLine(out, line);
  }
  return out;
}

const std::string& MainMenu::ShownOverallStatistics(Font* lineFont, int lineWidth) {
  // Page 40 asks for the text without a layout (to choose its size) and with one.
  ShownText& slot = overallStatistics_[lineFont ? 1 : 0];
  // The places are laid out again only when they change; the totals, whose
  // time ticks every second while the page is open, are added to the kept
  // places in buffers that keep their size.
  StatsRecord* stats = app->statistics;
  ChangeKey& key = slot.placesInputs;
  key.Begin();
  if (stats) {
    for (int place = 0; place < 10; ++place) {
      if (const SeriesEntry* e = stats->Entries().Get(place))
        key.Add('\1').Add(e->name).Add(e->grade).Add(e->bestGrade).Add(e->worstGrade).Add(e->difficulty);
      else
        key.Add('\0');
    }
  }
  for (int text : {59, 60, 61, 62}) key.Text(GetLangText(text));
  key.Add(stats).Add(lineFont).Add(lineWidth);
  if (lineFont) key.Add(lineFont->size).Add(lineFont->faceName);
  const bool placesChanged = key.Changed();
  if (placesChanged) slot.places = OverallPlacesText(lineFont, lineWidth);
  ChangeKey& totalsKey = slot.inputs;
  totalsKey.Begin();
  if (stats) AddTotalsInputs(totalsKey, stats->totalTime, *stats);
  if (totalsKey.Changed() || placesChanged) {
    slot.text.assign(slot.places);
    if (stats) AppendTotalsText(slot.text, stats->totalTime, *stats);
  }
  return slot.text;
}

std::string MainMenu::SeriesResultText() const {
  std::string out;
  const int t = WholeSecondsOf(seriesTime);
  AppendLine(out, FormatText(GetLangText(22), {t / 60, t % 60}));
  AppendLine(out, FormatText(GetLangText(45), {seriesBestGrade}));
  AppendLine(out, FormatText(GetLangText(46), {seriesWorstGrade}));
  AppendLine(out, "");
  AppendLine(out, FormatText(GetLangText(50), {seriesGrade}));
  return out;
}

// ---------------------------------------------------------------- drawing

void MainMenu::DrawPageBackground(const ElementDrawInfo& info, const Texture* texture,
                                  const char* title) {
  const RECT src{info.srcLeft, info.srcTop, info.srcRight, info.srcBottom};
  const D3DXVECTOR2 scale{info.scaleX, info.scaleY};
  const D3DXVECTOR2 pos{info.x, info.y};
  app->DrawSprite(texture, &src, &scale, nullptr, 0, &pos, 0xFFFFFFFF);
  if (title) {
    const int w = Width(src);
    fontManager->DrawTextAt(title, info.x + w / 2, info.y + 20, 0xFF000000, DT_CENTER, font40);
  }
}

void MainMenu::DrawPageChild(const ElementDrawInfo& info) {
  const int id = info.element->GetId();
  RECT src{info.srcLeft, info.srcTop, info.srcRight, info.srcBottom};
  const int w = Width(src), h = Height(src);
  bool lit = info.element == hitElement;
  if (id == 7 || id == 8) lit = app->language == id - 7;  // radio buttons show the language
  if (lit) {
    src.top += h;
    src.bottom += h;
  }
  const D3DXVECTOR2 scale{info.scaleX, info.scaleY};
  const D3DXVECTOR2 pos{info.x, info.y};
  app->DrawSprite(app->texMenu2, &src, &scale, nullptr, 0, &pos, 0xFFFFFFFF);

  Caption caption = CaptionOf(id);
  // A reset button that waits for its second click asks "Sure?".
  if (id == confirmingId) caption.text = CONFIRM_TEXT;
  if (caption.text < 0) return;
  const char* text = GetLangText(caption.text);
  if (!text) return;
  if (caption.centred) {
    TextItem item;
    item.text = text;
    item.rect = RECT{static_cast<int>(info.x), static_cast<int>(info.y),
                     static_cast<int>(info.x) + w, static_cast<int>(info.y) + h};
    item.colour = 0xFF000000;
    item.format = DT_CENTER | DT_VCENTER;
    // A caption too wide for its button takes the smaller font.
    item.font = TextWidth(font30, text) <= w - 8 ? font30 : font20;
    fontManager->DrawTextItem(item);
  } else {
    const bool hovered = info.element == hitElement && id != 7 && id != 8;
    fontManager->DrawTextAt(text, info.x + w / 2, info.y + 10, hovered ? 0xFFFF0000 : 0xFF000000,
                            DT_CENTER, font30);
  }
}

namespace {

TextItem PageText(const ElementDrawInfo& info, const char* text, int left, int top, int right,
                  int bottom, DWORD format, Font* font, D3DCOLOR colour = 0xFF000000) {
  TextItem item;
  item.text = text;
  const int x = static_cast<int>(info.x), y = static_cast<int>(info.y);
  item.rect = RECT{x + left, y + top, x + right, y + bottom};
  item.colour = colour;
  item.format = format;
  item.font = font;
  return item;
}

int PageWidth(const ElementDrawInfo& info) { return info.srcRight - info.srcLeft; }

}  // namespace

Font* MainMenu::FontForBlock(const char* text, int width, int height, DWORD format) const {
  Font* fallback = nullptr;
  for (Font* font : {font30, font26, font20}) {
    if (!font || !font->HasFace()) continue;
    fallback = font;
    int w = 0, h = 0;
    font->MeasureText(text, RECT{0, 0, width, 1 << 20}, format & ~DT_VCENTER, &w, &h);
    if (w <= width && h <= height) return font;
  }
  return fallback ? fallback : font30;
}

void MainMenu::DrawResultBody(const ElementDrawInfo& info, const char* text) {
  const int width = PageWidth(info) - 2 * PANEL_TEXT_MARGIN;
  const DWORD format = DT_CENTER | DT_VCENTER;
  Font* font = FontForBlock(text, width, RESULT_NAME_TOP - RESULT_TEXT_TOP, format);
  fontManager->DrawTextItem(PageText(info, text, PANEL_TEXT_MARGIN, RESULT_TEXT_TOP,
                                     PageWidth(info) - PANEL_TEXT_MARGIN, RESULT_NAME_TOP, format, font));
}

std::string MainMenu::NameEntryLine(const std::string& name, int maxWidth) const {
  auto build = [](const std::string& shown) { return FormatText(GetLangText(54), {shown.c_str()}); };
  // The caret counts as part of the name; a name too long for the page
  // shows its end, where the typing happens.
  return FitNameInLine(font30, maxWidth, name + CARET, build, KeepEnd::End);
}

void MainMenu::DrawNameEntry(const ElementDrawInfo& info, const char* name) {
  const int w = PageWidth(info);
  std::string line = NameEntryLine(name, w - 2 * RESULT_NAME_MARGIN);
  // Placed by its width with the caret, so the text stands still while the
  // caret blinks.
  const int left = std::max(RESULT_NAME_MARGIN, (w - LineWidth(font30, line)) / 2);
  if (std::fmod(caretTime, 2 * CARET_BLINK_SECONDS) >= CARET_BLINK_SECONDS) {
    const size_t caret = line.rfind(CARET);
    if (caret != std::string::npos) line.erase(caret, 1);
  }
  fontManager->DrawTextItem(PageText(info, line.c_str(), left, RESULT_NAME_TOP, w, RESULT_NAME_BOTTOM,
                                     DT_LEFT | DT_VCENTER, font30, 0xFFFF0000));
}

// Page 1: the main page.
void MainMenu::DrawElement0(ElementDrawInfo info) {
  if (info.element->parent) return DrawPageChild(info);
  DrawPageBackground(info, app->texMenu1, nullptr);
}

// Page 14: series or free choice.
void MainMenu::DrawElement1(ElementDrawInfo info) {
  if (info.element->parent) return DrawPageChild(info);
  DrawPageBackground(info, app->texMenu1, GetLangText(6));
}

// Page 18: the game list.
void MainMenu::DrawElement2(ElementDrawInfo info) {
  if (info.element->parent) return DrawPageChild(info);
  DrawPageBackground(info, app->texMenu3, GetLangText(7));
}

// Page 38: about the program.
void MainMenu::DrawElement3(ElementDrawInfo info) {
  if (info.element->parent) return DrawPageChild(info);
  DrawPageBackground(info, app->texMenu1, GetLangText(10));
  const int w = PageWidth(info);
  if (const char* text = GetLangText(56))
    fontManager->DrawTextAt(text, info.x + w / 2, info.y + 70, 0xFF000000, DT_CENTER, font30);
  const RECT src{370, 925, 700, 985};
  const D3DXVECTOR2 pos{info.x + 70, info.y + 325};
  app->DrawSprite(app->texMenu1, &src, nullptr, nullptr, 0, &pos, 0xFFFFFFFF);
}

// Page 40: overall statistics.
void MainMenu::DrawElement4(ElementDrawInfo info) {
  if (info.element->parent) return DrawPageChild(info);
  DrawPageBackground(info, app->texMenu2, GetLangText(9));
  // The ten places and the totals take up to sixteen lines: in the size that
  // fits between the title band and the buttons, with long names shortened.
  const int width = PageWidth(info) - 2 * PANEL_TEXT_MARGIN;
  const DWORD format = DT_CENTER | DT_VCENTER;
  // The size is chosen by the height alone: the names are shortened to the width.
  Font* font = FontForBlock(ShownOverallStatistics(nullptr, 0).c_str(), ANY_WIDTH,
                            FULL_PAGE_TEXT_BOTTOM - FULL_PAGE_TEXT_TOP, format);
  const std::string& text = ShownOverallStatistics(font, width);
  fontManager->DrawTextItem(PageText(info, text.c_str(), PANEL_TEXT_MARGIN, FULL_PAGE_TEXT_TOP,
                                     PageWidth(info) - PANEL_TEXT_MARGIN, FULL_PAGE_TEXT_BOTTOM, format, font));
}

// Page 45: the pause menu.
void MainMenu::DrawElement5(ElementDrawInfo info) {
  if (info.element->parent) return DrawPageChild(info);
  DrawPageBackground(info, app->texMenu1, GetLangText(12));
}

// Page 50: the running game's instructions.
void MainMenu::DrawElement6(ElementDrawInfo info) {
  if (info.element->parent) return DrawPageChild(info);
  DrawPageBackground(info, app->texMenu2, GetLangText(11));
  if (activeGame) activeGame->DrawDescription(info, font30);
}

// Page 52: the running game's statistics.
void MainMenu::DrawElement7(ElementDrawInfo info) {
  if (info.element->parent) return DrawPageChild(info);
  DrawPageBackground(info, app->texMenu2, GetLangText(9));
  if (!activeGame) return;
  // As on the overall statistics page: the size that fits above the
  // buttons, names shortened to the page's width.
  const int width = PageWidth(info) - 2 * PANEL_TEXT_MARGIN;
  activeGame->SetStatisticsLayout(nullptr, 0);
  const char* whole = activeGame->GetStatisticsText();
  if (!whole) return;
  Font* font = FontForBlock(whole, ANY_WIDTH, FULL_PAGE_TEXT_BOTTOM - FULL_PAGE_TEXT_TOP, DT_CENTER);
  activeGame->SetStatisticsLayout(font, width);
  if (const char* text = activeGame->GetStatisticsText())
    fontManager->DrawTextItem(PageText(info, text, PANEL_TEXT_MARGIN, FULL_PAGE_TEXT_TOP,
                                       PageWidth(info) - PANEL_TEXT_MARGIN, FULL_PAGE_TEXT_BOTTOM,
                                       DT_CENTER, font));
}

// Page 55: the result of a play, with name entry for the top 10.
void MainMenu::DrawElement8(ElementDrawInfo info) {
  if (info.element->parent) {
    if (info.element->GetId() == 56 && gameNameEntry && gameNameEntry->typedLength == 0) return;
    return DrawPageChild(info);
  }
  if (!activeGame) return DrawPageBackground(info, app->texMenu1, nullptr);
  DrawPageBackground(info, app->texMenu1, activeGame->GetResultTitle());
  activeGame->ComputeGrade();
  if (const char* text = activeGame->GetResultText()) DrawResultBody(info, text);
  if (gameNameEntry) DrawNameEntry(info, gameNameEntry->name);
}

// Page 9: difficulty.
void MainMenu::DrawElement9(ElementDrawInfo info) {
  if (info.element->parent) return DrawPageChild(info);
  DrawPageBackground(info, app->texMenu1, GetLangText(58));
}

// Page 57: the result of a series.
void MainMenu::DrawElement10(ElementDrawInfo info) {
  if (info.element->parent) {
    if (info.element->GetId() == 58 && seriesNameEntry && seriesNameEntry->typedLength == 0) return;
    return DrawPageChild(info);
  }
  DrawPageBackground(info, app->texMenu1, GetLangText(64));
  DrawResultBody(info, SeriesResultText().c_str());
  if (seriesNameEntry) DrawNameEntry(info, seriesNameEntry->name);
}

// Page 43: the general help.
void MainMenu::DrawElement11(ElementDrawInfo info) {
  if (info.element->parent) return DrawPageChild(info);
  DrawPageBackground(info, app->texMenu2, GetLangText(11));
  const int w = PageWidth(info);
  if (const char* text = GetLangText(76))
    fontManager->DrawTextItem(PageText(info, text, 50, FULL_PAGE_TEXT_TOP, w - 50, FULL_PAGE_TEXT_BOTTOM,
                                       DT_CENTER | DT_VCENTER | DT_WORDBREAK, font20));
}
