#include "Denkar_Spiele/DG_Bilder_Basteln.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "data/language.h"
#include "data/member_stream.h"
#include "framework/time_bar.h"
#include "gfx/font.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"
#include "util/format_text.h"
#include "util/text_scanner.h"

namespace {

constexpr uint32_t OUTLINE_COLOUR = 0xFF5F5F5F;
constexpr uint32_t PIECE_COLOUR = 0xFFFFFFFF;
constexpr uint32_t SELECTED_COLOUR = 0xFFFF0000;
constexpr double DEGREES_TO_RADIANS = 0.017453292;

// Language text shown instead of the progress line, and on the result page,
// when the picture could not be read.
constexpr int TEXT_PICTURE_MISSING = 68;

// Limits of what a picture file may describe. A file beyond them is treated
// as damaged: no real picture needs them, and they keep a broken file from
// filling the screen with thousands of giant shapes.
constexpr int MAX_PICTURE_OBJECTS = 200;
constexpr double MAX_COORDINATE = 100000.0;
constexpr double MAX_STRETCH = 10.0;
constexpr double SIZE_TOLERANCE = 1e-6;
// No word of a picture file is longer; a longer one is read past and, cut
// short, matches no key.
constexpr size_t WORD_MAX = 64;

int WrapDegrees(long long degrees) { return static_cast<int>(((degrees % 360) + 360) % 360); }

bool ToDouble(const std::string& token, double limit, double* out) {
  double value = 0;
  const char* end = token.data() + token.size();
  const auto [ptr, ec] = std::from_chars(token.data(), end, value);
  if (ec != std::errc() || ptr != end || !std::isfinite(value) || std::fabs(value) > limit) return false;
  *out = value;
  return true;
}

bool ToInteger(const std::string& token, long long* out) {
  long long value = 0;
  const char* end = token.data() + token.size();
  const auto [ptr, ec] = std::from_chars(token.data(), end, value);
  if (ec != std::errc() || ptr != end) return false;
  *out = value;
  return true;
}

// Reads the values of one key of an object; false when a value is missing or
// is not a number in its range.
bool ReadKey(TextScanner& in, const std::string& key, ShapePiece* shape) {
  std::string a, b;
  auto one = [&] { return in.Next(a, WORD_MAX); };
  auto two = [&] { return in.Next(a, WORD_MAX) && in.Next(b, WORD_MAX); };
  double x = 0, y = 0;
  long long n = 0;
  if (key == "POSITON:") {  // the picture files spell it this way
    if (!two() || !ToDouble(a, MAX_COORDINATE, &x) || !ToDouble(b, MAX_COORDINATE, &y))
      return false;
    shape->position[0] = static_cast<float>(x);
    shape->position[1] = static_cast<float>(y);
  } else if (key == "SCALE:") {
    if (!two() || !ToDouble(a, MAX_STRETCH, &x) || !ToDouble(b, MAX_STRETCH, &y)) return false;
    shape->scale[0] = static_cast<float>(x);
    shape->scale[1] = static_cast<float>(y);
  } else if (key == "ROT:") {
    if (!one() || !ToInteger(a, &n)) return false;
    shape->rotation = WrapDegrees(n);
  } else if (key == "TYP:") {
    if (!one() || !ToInteger(a, &n) || n < 0 || n >= SHAPE_TYPE_COUNT) return false;
    shape->type = static_cast<int>(n);
  } else if (key == "SFACTOR:") {
    if (!one() || !ToDouble(a, SHAPE_SIZE_MAX + 1, &x) || x < SHAPE_SIZE_MIN - SIZE_TOLERANCE ||
        x > SHAPE_SIZE_MAX + SIZE_TOLERANCE)
      return false;
    shape->sizeFactor = x;
  } else {
    return false;  // an unknown word inside an object
  }
  return true;
}

// One object after its "OBJEKT_START", up to and including "OBJEKT_END".
bool ReadObject(TextScanner& in, ShapePiece* shape) {
  *shape = ShapePiece{};
  shape->app = &GetAppContext();
  std::string token;
  while (in.Next(token, WORD_MAX)) {
    if (token == "OBJEKT_END") return true;
    if (!ReadKey(in, token, shape)) return false;
  }
  return false;  // the text ends inside the object
}

}  // namespace

// ---------------------------------------------------------------- ShapePiece

bool ShapePiece::Contains(float x, float y) const {
  const double half = 50.0 * sizeFactor;
  return std::fabs(x - position[0]) <= half && std::fabs(y - position[1]) <= half;
}

bool ShapePiece::Matches(const ShapePiece& target) const {
  if (type != target.type) return false;
  const double dx = static_cast<double>(position[0]) - target.position[0];
  const double dy = static_cast<double>(position[1]) - target.position[1];
  if (std::sqrt(dx * dx + dy * dy) > SHAPE_SNAP_DISTANCE) return false;
  // Sizes move in tenths, which doubles do not hold exactly.
  if (std::fabs(sizeFactor - target.sizeFactor) > SHAPE_SNAP_SIZE + 1e-9) return false;
  switch (type) {
    case 0: return rotation % 90 == target.rotation % 90;
    case 2: return rotation % 120 == target.rotation % 120 && scale[1] == target.scale[1];
    case 3: return rotation % 180 == target.rotation % 180;
    default: return true;  // round shapes: any angle
  }
}

void ShapePiece::Turn(int degrees) { rotation = WrapDegrees(static_cast<long long>(rotation) + degrees); }

void ShapePiece::Resize(double delta) {
  sizeFactor = std::clamp(sizeFactor + delta, SHAPE_SIZE_MIN, SHAPE_SIZE_MAX);
}

void ShapePiece::Draw(uint32_t colour) const {
  if (!app) return;
  const int left = std::clamp(type, 0, SHAPE_TYPE_COUNT - 1) * 200 + 100;
  const RECT source{left, 150, left + 100, 250};
  const float half = static_cast<float>(50.0 * sizeFactor);
  const D3DXVECTOR2 scaling{static_cast<float>(scale[0] * sizeFactor),
                            static_cast<float>(scale[1] * sizeFactor)};
  const D3DXVECTOR2 centre{half, half};
  const D3DXVECTOR2 translation{position[0] - half, position[1] - half};
  app->DrawSprite(app->texMisc1, &source, &scaling, &centre, rotation * DEGREES_TO_RADIANS,
                  &translation, colour);
}

// -------------------------------------------------------------- picture file

bool ParseShapePicture(std::string text, ShapePicture* picture) {
  TextScanner in(std::move(text));
  picture->targets.clear();
  picture->extras.clear();
  std::vector<ShapePiece>* section = nullptr;
  bool damaged = false;
  std::string token;
  while (!damaged && in.Next(token, WORD_MAX)) {
    if (token == "ZIELOBJEKT_START") {
      section = &picture->targets;
    } else if (token == "BAUOBJEKT_START") {
      section = &picture->extras;
    } else if (token == "OBJEKT_START") {
      ShapePiece shape;
      // An object outside both sections belongs to no known part of a picture.
      damaged = section == nullptr || !ReadObject(in, &shape) ||
                picture->targets.size() + picture->extras.size() >= MAX_PICTURE_OBJECTS;
      if (!damaged) section->push_back(shape);
    }
    // Any other word outside an object is skipped (the section closers too).
  }
  if (damaged || picture->targets.empty()) {
    picture->targets.clear();
    picture->extras.clear();
    return false;
  }
  return true;
}

bool LoadShapePicture(FILE* dataFile, int number, ShapePicture* picture) {
  picture->targets.clear();
  picture->extras.clear();
  const std::string name = "bb_" + std::to_string(number);
  MemberStream member(dataFile, name.c_str());
  return member.stream && ParseShapePicture(member.stream->str(), picture);
}

// ----------------------------------------------------------------------- game

DG_Bilder_Basteln::DG_Bilder_Basteln(int difficulty_) : Denkar_Game(difficulty_, "bilder.sav") {
  // Everything is set whether or not the picture can be read.
  selected = lastMoved = nullptr;
  buttonDown = false;
  moveCount = matchedCount = 0;
  progressFont = fontManager->AddFont("Arial", 30);
  pictureNumber = CrtRand() % SHAPE_PICTURE_COUNT;
  ShapePicture picture;
  if (LoadShapePicture(app->dataFile, pictureNumber, &picture)) {
    BuildPieces(picture);
  } else {
    // Without a picture there is nothing to play: the play ends on its first
    // update with the worst grade and is left out of the records, so a broken
    // installation never shows up as a result.
    DisableRecording();
  }
  playTime = 0.0;
}

DG_Bilder_Basteln::~DG_Bilder_Basteln() {
  selected = lastMoved = nullptr;
  pieces.Clear();
  targets.Clear();
}

void DG_Bilder_Basteln::BuildPieces(const ShapePicture& picture) {
  const int W = app->screenWidth, H = app->screenHeight;
  const int rangeX = std::max(1, W - 200), rangeY = std::max(1, H - 200);
  // A piece for every outline: the outline's type and stretch, a random
  // place, size and a turn by a multiple of 45 degrees.
  for (const ShapePiece& target : picture.targets) {
    targets.Insert(new ShapePiece(target));
    ShapePiece* piece = new ShapePiece(target);
    piece->position[1] = static_cast<float>(CrtRand() % rangeY + 100);  // y is drawn first
    piece->position[0] = static_cast<float>(CrtRand() % rangeX + 100);
    piece->sizeFactor = (CrtRand() % 14 + 6) / 10.0;  // 0.6 ... 1.9
    piece->Turn((CrtRand() % 24) * 45);
    pieces.Insert(piece);
  }
  if (difficulty < 1) return;
  for (const ShapePiece& extra : picture.extras) pieces.Insert(new ShapePiece(extra));
  for (int i = 0; i < difficulty * 5; ++i) {
    ShapePiece* piece = new ShapePiece();
    piece->app = app;
    piece->type = CrtRand() % 4;
    piece->rotation = (CrtRand() % 24) * 15;
    piece->scale[0] = piece->scale[1] = 1.0f;
    piece->sizeFactor = 1.0;
    piece->position[1] = static_cast<float>(CrtRand() % rangeY + 100);
    piece->position[0] = static_cast<float>(CrtRand() % rangeX + 100);
    pieces.Insert(piece);
  }
}

// ---------------------------------------------------------------------- input

ShapePiece* DG_Bilder_Basteln::PieceAt(float x, float y) {
  if (selected && selected->Contains(x, y)) return selected;
  for (int i = pieces.Count() - 1; i >= 0; --i) {
    ShapePiece* piece = pieces.Get(i);
    if (piece->Contains(x, y)) return piece;
  }
  return nullptr;
}

// Every change of a piece's place counts as a move, but a run of changes of
// the same piece counts once. The centre stays on the screen: a piece pushed
// off it with the arrow keys could never be taken with the mouse again.
void DG_Bilder_Basteln::MovePiece(ShapePiece* piece, float x, float y) {
  x = std::clamp(x, 0.0f, static_cast<float>(std::max(0, app->screenWidth - 1)));
  y = std::clamp(y, 0.0f, static_cast<float>(std::max(0, app->screenHeight - 1)));
  if (piece->position[0] == x && piece->position[1] == y) return;
  piece->position[0] = x;
  piece->position[1] = y;
  if (piece != lastMoved) {
    ++moveCount;
    lastMoved = piece;
  }
}

// A held piece whose release never arrived (released over the pause page,
// for instance) is put down where it is before the next press is handled.
void DG_Bilder_Basteln::ReleaseHeld() { buttonDown = false; }

void DG_Bilder_Basteln::OnLButtonDown(int x, int y) {
  if (!TakesInput()) return;
  if (buttonDown) ReleaseHeld();
  buttonDown = true;
  selected = PieceAt(static_cast<float>(x), static_cast<float>(y));
}

void DG_Bilder_Basteln::OnMouseMove(int x, int y) {
  if (!TakesInput() || !buttonDown || !selected) return;
  MovePiece(selected, static_cast<float>(x), static_cast<float>(y));
}

void DG_Bilder_Basteln::OnLButtonUp(int x, int y) {
  if (!TakesInput()) return;
  buttonDown = false;
  if (selected) {
    MovePiece(selected, static_cast<float>(x), static_cast<float>(y));
  } else if (PieceAt(static_cast<float>(x), static_cast<float>(y))) {
    lastMoved = nullptr;
  }
}

void DG_Bilder_Basteln::OnRButtonUp(int x, int y) {
  (void)x;
  (void)y;
  if (!TakesInput()) return;
  selected = nullptr;
  lastMoved = nullptr;
}

void DG_Bilder_Basteln::OnKeyDown(int key) {
  if (!TakesInput() || !selected) return;
  ShapePiece* p = selected;
  switch (key) {
    case VK_END:
    case 'S': p->Resize(-SHAPE_SIZE_STEP); break;
    case VK_HOME:
    case 'W': p->Resize(SHAPE_SIZE_STEP); break;
    case VK_LEFT: MovePiece(p, p->position[0] - 1, p->position[1]); break;
    case VK_UP: MovePiece(p, p->position[0], p->position[1] - 1); break;
    case VK_RIGHT: MovePiece(p, p->position[0] + 1, p->position[1]); break;
    case VK_DOWN: MovePiece(p, p->position[0], p->position[1] + 1); break;
    case 'A':
    case VK_SUBTRACT: p->Turn(-SHAPE_TURN_STEP); break;
    case 'D':
    case VK_ADD: p->Turn(SHAPE_TURN_STEP); break;
    default: break;
  }
}

// -------------------------------------------------------------------- matching

ShapePiece* DG_Bilder_Basteln::MatchFor(const ShapePiece& target) {
  for (int i = 0; i < pieces.Count(); ++i) {
    ShapePiece* piece = pieces.Get(i);
    if (buttonDown && piece == selected) continue;
    if (piece->Matches(target)) return piece;
  }
  return nullptr;
}

int DG_Bilder_Basteln::SnapMatches() {
  int matched = 0;
  for (int i = 0; i < targets.Count(); ++i) {
    const ShapePiece* target = targets.Get(i);
    ShapePiece* piece = MatchFor(*target);
    if (!piece) continue;
    ++matched;
    if (piece != selected) {  // a selected piece stays where the player put it
      piece->position[0] = target->position[0];
      piece->position[1] = target->position[1];
      piece->scale[0] = target->scale[0];
      piece->scale[1] = target->scale[1];
      piece->rotation = target->rotation;
    }
  }
  return matched;
}

void DG_Bilder_Basteln::Update() {
  record.playTime += app->frameTime;
  if (!started || state != GAME_STATE_RUNNING) return;
  playTime += app->frameTime;
  const int before = matchedCount;
  matchedCount = SnapMatches();
  if (matchedCount == targets.Count()) {
    state = GAME_STATE_ENDED;
    // The finished picture: the last shape is let go and lies in its outline
    // like all the others.
    selected = nullptr;
    buttonDown = false;
    SnapMatches();
  }
  if (matchedCount > before) app->PlaySoundEffect(12, 1.0f);
  if (matchedCount < before) app->PlaySoundEffect(13, 1.0f);
}

// --------------------------------------------------------------------- grading

void DG_Bilder_Basteln::ComputeGrade() {
  const int total = targets.Count();
  if (total == 0) {
    grade = 6.0;  // nothing could be played
  } else if (state == GAME_STATE_ENDED) {
    grade = std::min(6.0, playTime / 120.0 + 1.0);
  } else {
    grade = std::min(6.0, 6.0 - static_cast<double>(matchedCount) / total * 5.0 + playTime / 60.0);
  }
}

const char* DG_Bilder_Basteln::GetDescriptionText() { return GetLangText(65); }
const char* DG_Bilder_Basteln::GetResultTitle() { return GetLangText(20); }
const char* DG_Bilder_Basteln::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_Bilder_Basteln::GetResultText() {
  // The host asks on every frame of the result page: built again only when
  // something it shows has changed.
  const ResultKey key{WholeSecondsOf(playTime), moveCount, grade};
  if (!resultText_.empty() && key == resultShown_) return resultText_.c_str();
  resultShown_ = key;
  resultText_ = PlayTimeLine();
  if (!PictureLoaded()) resultText_ += FormatText(GetLangText(TEXT_PICTURE_MISSING), {}) + "\n";
  resultText_ += FormatText(GetLangText(57), {moveCount}) + "\n\n";
  resultText_ += FormatText(GetLangText(50), {grade});
  return resultText_.c_str();
}

// ---------------------------------------------------------------------- screen

const std::string& DG_Bilder_Basteln::ProgressText() {
  if (progressShown_ != matchedCount) {
    progressShown_ = matchedCount;
    progressText_ = PictureLoaded() ? FormatText(GetLangText(55), {matchedCount, targets.Count()})
                                    : FormatText(GetLangText(TEXT_PICTURE_MISSING), {});
  }
  return progressText_;
}

void DG_Bilder_Basteln::Render() {
  if (!started) return;
  for (int i = 0; i < targets.Count(); ++i) targets.Get(i)->Draw(OUTLINE_COLOUR);
  for (int i = 0; i < pieces.Count(); ++i) {
    const ShapePiece* piece = pieces.Get(i);
    if (piece != selected) piece->Draw(PIECE_COLOUR);
  }
  // The selected piece lies above all others, as it is the one a press takes.
  if (selected) selected->Draw(SELECTED_COLOUR);
  // Shapes may lie anywhere up to the top edge: the time bar and the progress
  // line stay readable above them.
  if (state == GAME_STATE_RUNNING) DrawTimeBar(playTime, font);
  fontManager->DrawTextAt(ProgressText().c_str(), app->screenWidth / 2.0f, 70.0f, 0xFF000000,
                          DT_CENTER, progressFont);
}

void DG_Bilder_Basteln::OnLostDevice() {
  Denkar_Game::OnLostDevice();
  if (progressFont) progressFont->OnLostDevice();
}

void DG_Bilder_Basteln::OnResetDevice() {
  Denkar_Game::OnResetDevice();
  if (progressFont) progressFont->OnResetDevice();
}
