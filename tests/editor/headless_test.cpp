// The headless surface's scripted platform operations, which every later
// editor test relies on.
#include <gtest/gtest.h>

#include "editor/ibitmap_control.h"
#include "tests/editor/editor_fixture.h"

namespace {

TEST(EditorHeadless, MessageBoxesAnswerFromTheQueueThenByTheirType) {
  EditorFixture f;
  IGraphicsHeadless& g = *f.graphics;
  g.QueueMessageAnswer(IGraphics::kAnswerYes);
  struct Case {
    int type;
    int answer;
  };
  const Case cases[] = {{IGraphics::kMessageYesNo, IGraphics::kAnswerYes},
                        {IGraphics::kMessageYesNo, IGraphics::kAnswerNo},
                        {IGraphics::kMessageYesNoCancel, IGraphics::kAnswerNo},
                        {IGraphics::kMessageOkCancel, IGraphics::kAnswerCancel},
                        {IGraphics::kMessageOk | IGraphics::kMessageIconError, IGraphics::kAnswerOk},
                        {IGraphics::kMessageIconInformation, IGraphics::kAnswerOk}};
  for (const Case& c : cases) EXPECT_EQ(g.ShowMessage("text", "caption", c.type), c.answer) << c.type;
  ASSERT_EQ(g.Messages().size(), 6u);
  EXPECT_EQ(g.Messages()[0].text, "text");
  EXPECT_EQ(g.Messages()[0].caption, "caption");
  EXPECT_EQ(g.Messages()[4].type, 16);
}

TEST(EditorHeadless, MenusAreChosenByTheTextsOnTheWayDown) {
  auto build = [] {
    auto menu = std::make_unique<IMenu>(IMenu::kPrefixTwoDigits);
    menu->AddItem("Copy");
    menu->AddItem("Paste", kMenuItemGreyed);
    menu->AddSeparator();
    auto group = std::make_unique<IMenu>();
    group->AddItem("Thru", kMenuItemChecked);
    group->AddItem("Ignore");
    menu->AddSubmenu("Settings", std::move(group));
    return menu;
  };
  struct Case {
    std::vector<std::string> path;
    int depth;  // 0: the top menu, 1: the sub-menu, -1: dismissed
    int item;
    bool unmatched;
  };
  const Case cases[] = {
      {{"01: Copy"}, 0, 0, false},   {{"04: Settings", "Ignore"}, 1, 1, false}, {{"Copy"}, -1, -1, true},
      {{"02: Paste"}, -1, -1, true}, {{"04: Settings"}, -1, -1, true},          {{"01: Copy", "x"}, -1, -1, true},
      {{}, -1, -1, false},
  };
  for (const Case& c : cases) {
    EditorFixture f;
    std::unique_ptr<IMenu> menu = build();
    f.graphics->QueueMenuChoice(c.path);
    IMenu* chosen = f.graphics->RunPopupMenu(*menu, {});
    IMenu* expected = c.depth == 0 ? menu.get() : c.depth == 1 ? menu->Item(3).submenu.get() : nullptr;
    EXPECT_EQ(chosen, expected) << testing::PrintToString(c.path);
    if (chosen) {
      EXPECT_EQ(chosen->ChosenItem(), c.item);
    }
    EXPECT_EQ(f.graphics->UnmatchedMenuChoices().size(), c.unmatched ? 1u : 0u);
    EXPECT_EQ(f.graphics->MenusShown().at(0), "01: Copy\n02: Paste (grey)\n----\n04: Settings\n  Thru [x]\n  Ignore\n");
  }
  EditorFixture f;
  std::unique_ptr<IMenu> menu = build();
  EXPECT_EQ(f.graphics->RunPopupMenu(*menu, {}), nullptr);  // nothing queued: dismissed
}

TEST(EditorHeadless, FileAndColourDialogsLinksClipboardAndFolders) {
  EditorFixture f;
  IGraphicsHeadless& g = *f.graphics;
  g.QueueFileChoice("/home/user/Banks/lead.fxp");
  std::string name = "start.fxp";
  std::string folder = "/old/";
  g.ChooseFile(name, IGraphics::kFileSave, folder, "fxp");
  EXPECT_EQ(name, "/home/user/Banks/lead.fxp");
  EXPECT_EQ(folder, "/home/user/Banks/");
  g.ChooseFile(name, IGraphics::kFileOpen, folder, "fxb fxp");  // nothing queued: cancelled
  EXPECT_EQ(name, "");
  EXPECT_EQ(folder, "/home/user/Banks/");
  ASSERT_EQ(g.FileDialogs().size(), 2u);
  EXPECT_EQ(g.FileDialogs()[0].fileName, "start.fxp");
  EXPECT_EQ(g.FileDialogs()[0].action, IGraphics::kFileSave);
  EXPECT_EQ(g.FileDialogs()[1].extensions, "fxb fxp");

  IColour colour{128, 1, 2, 3};
  g.QueueColourChoice(IColour{255, 10, 20, 30});
  g.QueueColourChoice(std::nullopt);
  EXPECT_TRUE(g.ChooseColour(colour, "Pick"));
  EXPECT_EQ(colour, (IColour{128, 10, 20, 30}));
  EXPECT_FALSE(g.ChooseColour(colour, "Again"));
  EXPECT_EQ(colour, (IColour{128, 10, 20, 30}));
  EXPECT_EQ(g.ColourPrompts(), (std::vector<std::string>{"Pick", "Again"}));

  EXPECT_FALSE(g.OpenLink("https://a", "Title", "Open it?", nullptr));  // unanswered: No
  g.QueueMessageAnswer(IGraphics::kAnswerYes);
  EXPECT_TRUE(g.OpenLink("https://b", "Title", "Open it?", nullptr));
  g.SetLinksOpen(false);
  EXPECT_FALSE(g.OpenLink("https://c", "Title", nullptr, "No connection"));
  EXPECT_EQ(g.LinksOpened(), std::vector<std::string>{"https://b"});
  EXPECT_EQ(g.Messages().back().text, "No connection");

  std::string text = "stale";
  EXPECT_FALSE(g.ClipboardText(text));
  EXPECT_EQ(text, "");
  g.SetClipboardText("copied");
  EXPECT_TRUE(g.ClipboardText(text));
  EXPECT_EQ(text, "copied");

  g.SetFolders("/host/", "/plugin/", "/desktop/", "/appdata/", "/shared/");
  std::string out;
  g.UserAppDataFolder(out);
  EXPECT_EQ(out, "/appdata/");
  g.AppDataFolder(out, true);
  EXPECT_EQ(out, "/shared/");
}

TEST(EditorHeadless, PresentedPixelsMatchTheComposedOnes) {
  EditorFixture f;
  PX_MemBitmap red(4, 4);
  PX_FillRegion(&red, 0, 0, 4, 4, 0xFFFF0000, 1.0f, kBlitCopy);
  f.graphics->AttachControl(new IBitmapControl(&f.plugin, 10, 20, -1, {&red, 4, 4, 1, false}));
  EXPECT_TRUE(f.graphics->Tick());
  EXPECT_EQ(f.graphics->LastPresentedBox(), (IBox{10, 20, 14, 24}));
  EXPECT_EQ(PixelAt(f.graphics->PresentedBitmap(), 12, 22), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(f.graphics->DrawBitmapSurface(), 12, 22), 0xFFFF0000u);
  EXPECT_EQ(f.graphics->PresentCount(), 1);
}

}  // namespace
