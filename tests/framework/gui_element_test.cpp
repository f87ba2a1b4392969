// GUI elements and the screen controller's hit testing: inclusive edges,
// overlapping and duplicate children, children outside their parent, draw
// order and positions, HitTestElements' order and mode, element ownership.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/game.h"
#include "framework/gui_element.h"
#include "util/app_context.h"
#include "support/test_data_builders.h"

namespace {

// A screen that records what its draw callbacks receive.
class DrawingGame : public Game {
 public:
  void DrawElement0(ElementDrawInfo info) override { drawn.push_back(info); }
  void DrawElement3(ElementDrawInfo info) override {
    drawn.push_back(info);
    ++element3Calls;
  }
  void OnLostDevice() override {}
  void OnResetDevice() override {}
  std::vector<ElementDrawInfo> drawn;
  int element3Calls = 0;
};

// An element that notes the modes it is asked with and counts destructions.
class ProbeElement : public GUIElement {
 public:
  ProbeElement(int id, RECT src, float x, float y, std::vector<std::string>* log, int* deaths = nullptr)
      : GUIElement(id, src, x, y, nullptr, nullptr), log_(log), deaths_(deaths) {}
  ~ProbeElement() override {
    if (deaths_) ++*deaths_;
  }
  GUIElement* HitTest(int x, int y, int mode) override {
    log_->push_back(std::to_string(GetId()) + " mode " + std::to_string(mode));
    return GUIElement::HitTest(x, y, mode);
  }

 private:
  std::vector<std::string>* log_;
  int* deaths_;
};

class ShellGui : public ::testing::Test {
 protected:
  void SetUp() override {
    static const std::string dir = testdata::EnterFreshDirectory("denkar_shell_gui");
    ASSERT_FALSE(dir.empty());
  }
};

constexpr RECT Src(int w, int h) { return RECT{100, 200, 100 + w, 200 + h}; }

TEST_F(ShellGui, ConstructionTruncatesThePositionAndTakesTheSizeFromTheSource) {
  GUIElement e(7, Src(50, 20), 10.9f, -3.7f, nullptr, nullptr);
  EXPECT_EQ(e.GetId(), 7);
  EXPECT_EQ(e.x, 10);
  EXPECT_EQ(e.y, -3);  // toward zero
  EXPECT_EQ(e.right, 60);
  EXPECT_EQ(e.bottom, 17);
  EXPECT_EQ(e.parent, nullptr);
  EXPECT_EQ(e.children.Count(), 0);
  EXPECT_EQ(e.scaleX, 1.0f);
  EXPECT_EQ(e.scaleY, 1.0f);
}

TEST_F(ShellGui, AllFourEdgesHit) {
  GUIElement e(1, Src(50, 20), 10, 30, nullptr, nullptr);
  EXPECT_EQ(e.HitTest(10, 30, -1), &e);
  EXPECT_EQ(e.HitTest(60, 50, -1), &e);  // x = left + width, y = top + height
  EXPECT_EQ(e.HitTest(60, 30, 1), &e);
  EXPECT_EQ(e.HitTest(9, 40, -1), nullptr);
  EXPECT_EQ(e.HitTest(61, 40, -1), nullptr);
  EXPECT_EQ(e.HitTest(30, 29, -1), nullptr);
  EXPECT_EQ(e.HitTest(30, 51, -1), nullptr);
}

TEST_F(ShellGui, TheDeepestElementWinsAndTheFirstAddedOfOverlappingSiblings) {
  GUIElement* page = new GUIElement(1, Src(400, 300), 100, 100, nullptr, nullptr);
  GUIElement* first = new GUIElement(2, Src(100, 100), 10, 10, nullptr, nullptr);
  GUIElement* second = new GUIElement(3, Src(100, 100), 50, 50, nullptr, nullptr);
  GUIElement* inner = new GUIElement(4, Src(20, 20), 70, 70, nullptr, nullptr);
  EXPECT_TRUE(page->AddChild(first));
  EXPECT_TRUE(page->AddChild(second));
  EXPECT_TRUE(second->AddChild(inner));
  EXPECT_EQ(first->parent, page);
  EXPECT_EQ(inner->parent, second);
  // Child coordinates are relative to the parent's corner.
  EXPECT_EQ(page->HitTest(100 + 80, 100 + 80, -1), first);   // both overlap here
  EXPECT_EQ(page->HitTest(100 + 115, 100 + 115, -1), second);
  EXPECT_EQ(page->HitTest(100 + 50 + 75, 100 + 50 + 75, -1), inner);
  EXPECT_EQ(page->HitTest(100 + 300, 100 + 250, -1), page);  // no child there
  delete page;  // the whole tree goes with it
}

TEST_F(ShellGui, AChildOutsideItsParentIsNotFound) {
  GUIElement page(1, Src(100, 100), 0, 0, nullptr, nullptr);
  GUIElement* outside = new GUIElement(2, Src(50, 50), 150, 0, nullptr, nullptr);
  page.AddChild(outside);
  EXPECT_EQ(page.HitTest(170, 20, -1), nullptr);
  EXPECT_EQ(outside->HitTest(170, 20, -1), outside);  // on its own it would hit
}

TEST_F(ShellGui, AddingAnElementTwiceKeepsOneEntry) {
  GUIElement page(1, Src(100, 100), 0, 0, nullptr, nullptr);
  GUIElement* child = new GUIElement(2, Src(10, 10), 0, 0, nullptr, nullptr);
  EXPECT_TRUE(page.AddChild(child));
  EXPECT_TRUE(page.AddChild(child));
  EXPECT_EQ(page.children.Count(), 1);
  EXPECT_FALSE(page.AddChild(nullptr));
  EXPECT_EQ(page.children.Count(), 1);
}  // one child deleted once

TEST_F(ShellGui, DrawHandsTheGeometryToTheOwnerParentFirstLastChildOnTop) {
  DrawingGame game;
  GUIElement page(10, Src(400, 300), 100, 50, &game, Game::ElementCallback(0));
  GUIElement* a = new GUIElement(11, RECT{0, 0, 40, 30}, 10, 20, &game, Game::ElementCallback(3));
  GUIElement* b = new GUIElement(12, RECT{5, 6, 25, 26}, 30, 40, &game, Game::ElementCallback(0));
  page.AddChild(a);
  page.AddChild(b);
  GUIElement* deep = new GUIElement(13, RECT{1, 2, 3, 4}, 1, 2, &game, Game::ElementCallback(0));
  b->AddChild(deep);
  page.Draw(0, 0);
  ASSERT_EQ(game.drawn.size(), 4u);
  EXPECT_EQ(game.drawn[0].element, &page);
  EXPECT_EQ(game.drawn[0].x, 100.0f);
  EXPECT_EQ(game.drawn[0].y, 50.0f);
  EXPECT_EQ(game.drawn[1].element, a);  // through its own callback slot
  EXPECT_EQ(game.element3Calls, 1);
  EXPECT_EQ(game.drawn[1].x, 110.0f);
  EXPECT_EQ(game.drawn[1].y, 70.0f);
  EXPECT_EQ(game.drawn[2].element, b);  // added last, drawn over a
  EXPECT_EQ(game.drawn[2].srcLeft, 5);
  EXPECT_EQ(game.drawn[2].srcTop, 6);
  EXPECT_EQ(game.drawn[2].srcRight, 25);
  EXPECT_EQ(game.drawn[2].srcBottom, 26);
  EXPECT_EQ(game.drawn[3].element, deep);
  EXPECT_EQ(game.drawn[3].x, 131.0f);
  EXPECT_EQ(game.drawn[3].y, 92.0f);
  EXPECT_EQ(game.drawn[3].scaleX, 1.0f);
  // An offset moves the whole tree.
  game.drawn.clear();
  page.Draw(2.5f, -1.0f);
  EXPECT_EQ(game.drawn[0].x, 102.5f);
  EXPECT_EQ(game.drawn[3].y, 91.0f);
}

TEST_F(ShellGui, HitTestElementsAsksEnabledElementsInOrderWithTheMouseAndMode) {
  DrawingGame game;
  std::vector<std::string> log;
  EXPECT_FALSE(game.HitTestElements(-1));  // nothing enabled
  EXPECT_EQ(game.hitElement, nullptr);

  game.elements[2] = new ProbeElement(2, Src(100, 100), 0, 0, &log);
  game.elements[5] = new ProbeElement(5, Src(100, 100), 0, 0, &log);
  game.elements[7] = new ProbeElement(7, Src(10, 10), 500, 500, &log);
  game.elementEnabled[5] = true;
  game.app->mouseX = 50;
  game.app->mouseY = 50;
  // Element 2 is not enabled: not asked.
  EXPECT_TRUE(game.HitTestElements(1));
  EXPECT_EQ(game.hitElement, game.elements[5]);
  EXPECT_EQ(log, (std::vector<std::string>{"5 mode 1"}));

  // Both under the mouse: element 2 answers and 5 is not asked.
  log.clear();
  game.elementEnabled[2] = true;
  EXPECT_TRUE(game.HitTestElements(-1));
  EXPECT_EQ(game.hitElement, game.elements[2]);
  EXPECT_EQ(log, (std::vector<std::string>{"2 mode -1"}));

  // Nobody under the mouse: false, and the last answer (null) is kept.
  log.clear();
  game.elementEnabled[7] = true;
  game.app->mouseX = 300;
  EXPECT_FALSE(game.HitTestElements(1));
  EXPECT_EQ(game.hitElement, nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"2 mode 1", "5 mode 1", "7 mode 1"}));

  // An enabled slot without an element is passed over.
  game.elementEnabled[0] = true;
  game.app->mouseX = 505;
  game.app->mouseY = 505;
  EXPECT_TRUE(game.HitTestElements(-1));
  EXPECT_EQ(game.hitElement, game.elements[7]);
  game.app->mouseX = game.app->mouseY = 0;
}

TEST_F(ShellGui, AGameDeletesOnlyItsFilledElementSlots) {
  std::vector<std::string> log;
  int deaths = 0;
  {
    DrawingGame game;
    game.elements[0] = new ProbeElement(0, Src(1, 1), 0, 0, &log, &deaths);
    game.elements[13] = new ProbeElement(13, Src(1, 1), 0, 0, &log, &deaths);
    auto* withChild = new ProbeElement(6, Src(1, 1), 0, 0, &log, &deaths);
    withChild->AddChild(new ProbeElement(60, Src(1, 1), 0, 0, &log, &deaths));
    game.elements[6] = withChild;
  }
  EXPECT_EQ(deaths, 4);
  EXPECT_EQ(Game::ElementCallback(14), nullptr);
  EXPECT_EQ(Game::ElementCallback(-1), nullptr);
  EXPECT_EQ(Game::ElementCallback(13), &Game::DrawElement13);
}

}  // namespace
