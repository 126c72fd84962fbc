#include <gtest/gtest.h>

#include "tests/plugin/fake_editor.h"
#include "tests/plugin/test_plugin.h"

namespace {

TEST(EditorLink, AttachingPushesNormalisedValuesAndGivesASurface) {
  int destroyed = 0;
  {
    TestPlugin plugin;
    plugin.GetParam(1)->SetValue(12);
    auto* editor = new FakeEditor(832, 376, &destroyed);
    plugin.AttachGraphics(editor);
    ASSERT_EQ(editor->attached.size(), 32u);
    EXPECT_EQ(editor->attached[1].first, 1);
    EXPECT_DOUBLE_EQ(editor->attached[1].second, 0.75);
    EXPECT_EQ(editor->surfaces, 1);
    EXPECT_EQ(plugin.Editor(), editor);

    plugin.GetParam(2)->SetValue(2);
    plugin.RefreshEditorControls();
    ASSERT_EQ(editor->applied.size(), 32u);
    EXPECT_EQ(editor->applied[2], std::make_tuple(2, 2.0, false));  // real values, not normalised
    EXPECT_TRUE(plugin.hostCalls.empty());                          // the host hears nothing

    editor->applied.clear();
    ASSERT_TRUE(plugin.SelectPreset(4));  // a program change refreshes the editor
    EXPECT_EQ(editor->applied.size(), 32u);
    EXPECT_EQ(destroyed, 0);
  }
  EXPECT_EQ(destroyed, 1);  // the plug-in owns its editor
}

}  // namespace
