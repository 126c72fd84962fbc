#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/plugin/test_plugin.h"

namespace {

TEST(Presets, ConstructionLeavesEmptyUninitialisedSlots) {
  TestPlugin plugin;
  EXPECT_EQ(plugin.CurrentPresetIndex(), 0);
  for (int i = 0; i < PluginBase::kPresetCount; ++i) {
    EXPECT_FALSE(plugin.Preset(i).initialized);
    EXPECT_STREQ(plugin.GetPresetName(i), "empty");
  }
  EXPECT_STREQ(plugin.GetPresetName(64), "");
  EXPECT_STREQ(plugin.GetPresetName(-1), "");
}

TEST(Presets, SelectingAnUninitialisedSlotNamesItAfterTheUserPresets) {
  TestPlugin plugin;
  std::strcpy(plugin.Preset(1).name, "user preset 1");
  std::strcpy(plugin.Preset(2).name, "my user preset 2");
  plugin.SetAll(12.5);
  ASSERT_TRUE(plugin.SelectPreset(5));
  EXPECT_STREQ(plugin.GetPresetName(5), "user preset 3");
  EXPECT_TRUE(plugin.Preset(5).initialized);
  EXPECT_EQ(plugin.CurrentPresetIndex(), 5);

  plugin.SetAll(-3.0);
  ASSERT_TRUE(plugin.SelectPreset(5));  // initialised now: restores what it stored
  EXPECT_EQ(plugin.GetParam(0)->Value(), 12.5);

  EXPECT_FALSE(plugin.SelectPreset(64));
  EXPECT_FALSE(plugin.SelectPreset(-1));
  EXPECT_EQ(plugin.CurrentPresetIndex(), 5);
}

TEST(Presets, FillEmptyPresetsNamesExactlyTheUninitialisedSlots) {
  TestPlugin plugin;
  for (int i = 0; i < 60; ++i) {
    plugin.Preset(i).initialized = true;
    std::snprintf(plugin.Preset(i).name, IPreset::kNameSize, "Program %d", i);
  }
  plugin.FillEmptyPresets(PluginBase::kPresetCount);
  for (int i = 0; i < 60; ++i) EXPECT_NE(std::string(plugin.GetPresetName(i)), "Empty");
  for (int i = 60; i < 64; ++i) {
    EXPECT_STREQ(plugin.GetPresetName(i), "Empty");
    EXPECT_TRUE(plugin.Preset(i).initialized);
    EXPECT_EQ(plugin.Preset(i).state.Size(), 32 * 8);
  }
}

// A bank can mark a slot uninitialised while it still holds a state; when the
// slot is initialised again its state is the present one alone, so a saved
// bank reads back.
TEST(Presets, ReinitialisedSlotStoresOneStateOnly) {
  struct Case {
    const char* how;
    void (*initialise)(TestPlugin&);
  };
  const Case cases[] = {
      {"selected", [](TestPlugin& plugin) { ASSERT_TRUE(plugin.SelectPreset(3)); }},
      {"filled", [](TestPlugin& plugin) { plugin.FillEmptyPresets(PluginBase::kPresetCount); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    TestPlugin plugin;
    plugin.SetAll(7.0);
    ASSERT_TRUE(plugin.SelectPreset(3));
    plugin.Preset(3).initialized = false;  // as a damaged bank leaves it
    ASSERT_TRUE(plugin.SelectPreset(0));
    c.initialise(plugin);
    EXPECT_TRUE(plugin.Preset(3).initialized);
    EXPECT_EQ(plugin.Preset(3).state.Size(), 32 * 8);

    ByteChunk bank;
    ASSERT_TRUE(plugin.SerializePresets(bank));
    TestPlugin other;
    EXPECT_EQ(other.UnserializePresets(bank, 0), bank.Size());
  }
}

TEST(Presets, ParameterRecordRoundTripAndTruncation) {
  TestPlugin plugin;
  for (int i = 0; i < 32; ++i) plugin.GetParam(i)->SetValue(i == 2 ? 1 : i);
  ByteChunk chunk;
  ASSERT_TRUE(plugin.SerializeParams(chunk));
  ASSERT_EQ(chunk.Size(), 256);

  TestPlugin restored;
  restored.SetAll(-50);
  EXPECT_EQ(restored.UnserializeParams(chunk, 0), 256);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(restored.GetParam(i)->Value(), plugin.GetParam(i)->Value()) << i;
  EXPECT_EQ(restored.applied.size(), 32u);

  ByteChunk cut;
  cut.PutBytes(chunk.Data(), 8 * 5 + 3);  // five values and a fragment
  TestPlugin partial;
  partial.SetAll(-50);
  EXPECT_EQ(partial.UnserializeParams(cut, 0), -1);
  EXPECT_EQ(partial.GetParam(4)->Value(), 4.0);    // read before the end
  EXPECT_EQ(partial.GetParam(5)->Value(), 0.0);    // the first missing one becomes 0
  EXPECT_EQ(partial.GetParam(6)->Value(), -50.0);  // later ones keep their values
  EXPECT_EQ(partial.applied.size(), 32u);          // every parameter is applied anyway
}

TEST(Presets, PresetListRoundTrip) {
  TestPlugin plugin;
  for (int i = 0; i < 64; i += 3) {
    plugin.SetAll(i);
    plugin.SelectPreset(i);
    plugin.ModifyCurrentPreset(("Prog " + std::to_string(i)).c_str());
  }
  plugin.SelectPreset(9);
  ByteChunk list;
  ASSERT_TRUE(plugin.SerializePresets(list));

  TestPlugin restored;
  EXPECT_EQ(restored.UnserializePresets(list, 0), list.Size());
  for (int i = 0; i < 64; ++i) {
    EXPECT_STREQ(restored.GetPresetName(i), plugin.GetPresetName(i)) << i;
    EXPECT_EQ(restored.Preset(i).initialized, plugin.Preset(i).initialized) << i;
  }
  // The current index stays 0 and slot 0's values are loaded again.
  EXPECT_EQ(restored.CurrentPresetIndex(), 0);
  EXPECT_EQ(restored.GetParam(7)->Value(), 0.0);
  restored.SelectPreset(9);
  EXPECT_EQ(restored.GetParam(7)->Value(), 9.0);
}

TEST(Presets, TruncatedPresetListKeepsWhatWasRead) {
  TestPlugin plugin;
  plugin.SetAll(7);
  plugin.SelectPreset(0);
  plugin.ModifyCurrentPreset("First");
  plugin.SelectPreset(1);
  plugin.ModifyCurrentPreset("Second");
  ByteChunk list;
  plugin.SerializePresets(list);
  // Slot 0 whole, then slot 1's name and flag and half its state.
  const int slotSize = 4 + 5 + 1 + 256;
  ByteChunk cut;
  cut.PutBytes(list.Data(), slotSize + 4 + 6 + 1 + 100);

  TestPlugin restored;
  EXPECT_EQ(restored.UnserializePresets(cut, 0), -1);
  EXPECT_STREQ(restored.GetPresetName(0), "First");
  EXPECT_STREQ(restored.GetPresetName(1), "Second");
  EXPECT_TRUE(restored.Preset(1).initialized);
  EXPECT_STREQ(restored.GetPresetName(2), "empty");  // never reached

  ByteChunk nameCut;
  nameCut.PutBytes(list.Data(), slotSize + 6);  // slot 1's name runs out
  TestPlugin renamed;
  EXPECT_EQ(renamed.UnserializePresets(nameCut, 0), -1);
  EXPECT_STREQ(renamed.GetPresetName(1), "First");  // takes the last name read
}

TEST(Presets, ModifyCurrentPresetStoresStateAndKeepsNameWhenEmpty) {
  TestPlugin plugin;
  plugin.SelectPreset(0);
  plugin.ModifyCurrentPreset("Lead");
  plugin.SetAll(33);
  plugin.ModifyCurrentPreset("");
  EXPECT_STREQ(plugin.GetPresetName(0), "Lead");
  plugin.SetAll(0);
  plugin.SelectPreset(0);
  EXPECT_EQ(plugin.GetParam(10)->Value(), 33.0);
}

}  // namespace
