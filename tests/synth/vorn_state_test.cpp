#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "product/vorn.h"

namespace {

std::vector<double> Values(Vorn& vorn) {
  std::vector<double> values;
  for (int i = 0; i < 32; ++i) values.push_back(vorn.GetParam(i)->Value());
  return values;
}

void Scramble(Vorn& vorn, double amount) {
  for (int i = 0; i < 32; ++i) {
    IParam& p = *vorn.GetParam(i);
    p.SetValue(p.Min() + (p.Max() - p.Min()) * amount);
  }
}

TEST(VornState, RecordLayout) {
  Vorn vorn(nullptr);
  vorn.FillEmptyPresets(64);
  vorn.SelectPreset(2);
  vorn.ModifyCurrentPreset("Pad");
  ByteChunk chunk;
  chunk.PutInt32(77);  // the record appends to what is there
  ASSERT_TRUE(vorn.SerializeState(chunk));
  ASSERT_EQ(chunk.Size(), 4 + 10 + 4 + 4 + 3 + 256);
  EXPECT_EQ(std::memcmp(chunk.Data() + 4, "Vorn_1.2.0", 10), 0);
  std::int32_t index = -1;
  std::string name;
  int pos = chunk.GetInt32(index, 14);
  pos = chunk.GetString(name, pos);
  EXPECT_EQ(index, 2);
  EXPECT_EQ(name, "Pad");
  for (int i = 0; i < 32; ++i) {
    double value = 0;
    pos = chunk.GetDouble(value, pos);
    EXPECT_EQ(value, vorn.GetParam(i)->Value());
  }
}

TEST(VornState, TaggedRoundTripAndBareValues) {
  Vorn source(nullptr);
  Scramble(source, 0.3);
  ByteChunk chunk;
  source.SerializeState(chunk);

  Vorn target(nullptr);
  EXPECT_EQ(target.UnserializeState(chunk, 0), chunk.Size());
  EXPECT_EQ(Values(target), Values(source));

  ByteChunk bare;
  source.SerializeParams(bare);
  Vorn fromBare(nullptr);
  EXPECT_EQ(fromBare.UnserializeState(bare, 0), 256);
  EXPECT_EQ(Values(fromBare), Values(source));
}

TEST(VornState, AnyOtherTagIsReadAsBareValues) {
  Vorn source(nullptr);
  ByteChunk chunk;
  source.SerializeState(chunk);
  chunk.Data()[9] = '1';  // "Vorn_1.2.1"
  Vorn target(nullptr);
  Scramble(target, 0.9);
  // The tag bytes become the first values: they read as a double and are
  // clamped into the first parameter's range; reading fails near the end.
  const int pos = target.UnserializeState(chunk, 0);
  EXPECT_EQ(pos, 256);
  EXPECT_GE(target.GetParam(0)->Value(), 0.0);
  EXPECT_LE(target.GetParam(0)->Value(), 100.0);
}

TEST(VornState, TruncationAndLyingNameLengths) {
  Vorn source(nullptr);
  Scramble(source, 0.25);
  ByteChunk full;
  source.SerializeState(full);

  ByteChunk cut;
  cut.PutBytes(full.Data(), full.Size() - 256 + 8 * 20 + 4);  // twenty values and a fragment
  Vorn target(nullptr);
  Scramble(target, 0.75);
  const std::vector<double> before = Values(target);
  EXPECT_EQ(target.UnserializeState(cut, 0), -1);
  EXPECT_EQ(target.GetParam(19)->Value(), source.GetParam(19)->Value());
  EXPECT_EQ(target.GetParam(20)->Value(), 0.001);       // first missing: 0 clamped into its range
  EXPECT_EQ(target.GetParam(21)->Value(), before[21]);  // later ones untouched

  ByteChunk lying = full;
  const std::int32_t hugeLength = 0x7FFFFFF0;
  std::memcpy(lying.Data() + 14, &hugeLength, 4);
  Vorn liar(nullptr);
  EXPECT_EQ(liar.UnserializeState(lying, 0), -1);
  const std::int32_t negative = -20;
  std::memcpy(lying.Data() + 14, &negative, 4);
  EXPECT_EQ(liar.UnserializeState(lying, 0), -1);

  ByteChunk shortTag;
  shortTag.PutBytes("Vorn_1", 6);
  EXPECT_EQ(liar.UnserializeState(shortTag, 0), -1);
}

TEST(VornState, ProgramFileRoundTripThroughTheRealRecord) {
  Vorn source(nullptr);
  source.FillEmptyPresets(64);
  Scramble(source, 0.6);
  source.ModifyCurrentPreset("Round Trip");
  ByteChunk file;
  source.BuildProgramFile(file);
  EXPECT_EQ(file.Size(), 60 + 8 + 10 + 4 + 4 + 10 + 256);

  Vorn target(nullptr);
  target.FillEmptyPresets(64);
  ASSERT_TRUE(target.LoadProgramFromMemory(file));
  EXPECT_EQ(Values(target), Values(source));
  EXPECT_STREQ(target.GetPresetName(0), "Round Trip");
}

TEST(VornState, BankFileRoundTripAllProgramsAndNames) {
  Vorn source(nullptr);
  source.FillEmptyPresets(64);
  for (int i = 0; i < 64; ++i) {
    source.SelectPreset(i);
    Scramble(source, (i % 9) / 8.0);
    source.ModifyCurrentPreset(("Slot " + std::to_string(i)).c_str());
  }
  source.SelectPreset(5);
  ByteChunk bank;
  source.BuildBankFile(bank);

  Vorn target(nullptr);
  target.FillEmptyPresets(64);
  ASSERT_TRUE(target.LoadBankFileFromMemory(bank));
  for (int i = 0; i < 64; ++i) {
    EXPECT_STREQ(target.GetPresetName(i), source.GetPresetName(i));
    source.SelectPreset(i);
    target.SelectPreset(i);
    EXPECT_EQ(Values(target), Values(source)) << i;
  }
}

}  // namespace
