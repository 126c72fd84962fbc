#include <gtest/gtest.h>

#include "plugin/host_kind.h"
#include "tests/plugin/test_plugin.h"

namespace {

TEST(PluginBase, IdentityAndChannels) {
  TestPlugin plugin;
  EXPECT_EQ(plugin.DecimalVersion(), 10200);
  EXPECT_EQ(plugin.InputCount(), 0);
  EXPECT_EQ(plugin.OutputCount(), 2);
  EXPECT_FALSE(plugin.LegalIO(1, -1));
  EXPECT_TRUE(plugin.LegalIO(0, 2));
  EXPECT_TRUE(plugin.LegalIO(0, 1));
  EXPECT_TRUE(plugin.LegalIO(0, -1));
  EXPECT_FALSE(plugin.LegalIO(0, 3));
  EXPECT_EQ(plugin.GetHost(), kHostUnidentified);
  EXPECT_EQ(plugin.GetParam(32), nullptr);
  EXPECT_EQ(plugin.GetParam(-1), nullptr);
}

TEST(PluginBase, ChannelTextPiecesThatDoNotParseGiveEmptyConfigurations) {
  TestPlugin plugin("1-2 x 4- 2-6");
  const auto& configs = plugin.ChannelConfigs();
  ASSERT_EQ(configs.size(), 4u);
  EXPECT_EQ(configs[1].inputs, 0);
  EXPECT_EQ(configs[1].outputs, 0);
  EXPECT_EQ(configs[2].inputs, 0);
  EXPECT_EQ(plugin.InputCount(), 2);
  EXPECT_EQ(plugin.OutputCount(), 6);
  EXPECT_TRUE(plugin.LegalIO(1, -1));
}

TEST(PluginBase, BlockSizeResizesScratchOnlyOnChange) {
  TestPlugin plugin;
  plugin.SetBlockSize(64);
  plugin.SetOutputsConnected(0, 2, true);
  plugin.SetOutputsConnected(1, 1, false);
  ASSERT_EQ(plugin.OutputPointers()[1], plugin.Outputs()[1].scratch.data());  // disconnected: its own scratch
  plugin.Outputs()[1].scratch[5] = 3.0;
  plugin.SetBlockSize(64);
  EXPECT_EQ(plugin.Outputs()[1].scratch[5], 3.0);  // same size: kept
  plugin.SetBlockSize(128);
  EXPECT_EQ(plugin.Outputs()[1].scratch.size(), 128u);
  EXPECT_EQ(plugin.Outputs()[1].scratch[5], 0.0);
}

TEST(PluginBase, EditorChangesTellTheHostExactlyWhatTheyReceived) {
  TestPlugin plugin;
  plugin.SetParameterFromEditor(1, 0.26);
  EXPECT_EQ(plugin.GetParam(1)->Value(), -12.0);
  ASSERT_EQ(plugin.automated.size(), 1u);
  EXPECT_EQ(plugin.automated[0], 0.26);
  EXPECT_EQ(plugin.applied, std::vector<int>{1});

  plugin.automated.clear();
  plugin.NotifyHostAllParams();
  ASSERT_EQ(plugin.automated.size(), 32u);
  EXPECT_DOUBLE_EQ(plugin.automated[1], 0.25);
}

TEST(PluginBase, CompareStateUsesSinglePrecision) {
  TestPlugin plugin;
  plugin.SetAll(1.0);
  std::vector<double> values(40, 1.0);
  EXPECT_TRUE(plugin.CompareState(values.data(), 8));
  values[8 + 31] = 1.0 + 1e-9;
  EXPECT_TRUE(plugin.CompareState(values.data(), 8));
  values[8 + 31] = 1.001;
  EXPECT_FALSE(plugin.CompareState(values.data(), 8));
}

TEST(HostLookup, ProductStringsInTheirSearchOrder) {
  EXPECT_EQ(LookUpHost("Cubase VST"), kHostCubase);
  EXPECT_EQ(LookUpHost("REAPER"), kHostReaper);
  EXPECT_EQ(LookUpHost("Ableton Live 9"), kHostAbletonLive);
  EXPECT_EQ(LookUpHost("Digital Performer"), kHostDigitalPerformer);
  EXPECT_EQ(LookUpHost("Nuendo and Cubase"), kHostCubase);
  EXPECT_EQ(LookUpHost("Deliverance"), kHostAbletonLive);  // a plain substring search
  EXPECT_EQ(LookUpHost("Bitwig Studio"), kHostUnknown);
  EXPECT_EQ(LookUpHost(""), kHostUnknown);
  EXPECT_EQ(LookUpHost("OpenMPT 1.30"), kHostOpenMPT);
  EXPECT_EQ(LookUpHost("Ardour"), kHostArdour);
  EXPECT_EQ(LookUpHost(nullptr), kHostUnknown);
}

}  // namespace
