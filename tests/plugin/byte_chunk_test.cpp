#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/byte_chunk.h"

namespace {

std::vector<std::uint8_t> Bytes(const ByteChunk& chunk) { return {chunk.Data(), chunk.Data() + chunk.Size()}; }

TEST(ByteChunk, EncodesLittleEndian) {
  ByteChunk chunk;
  chunk.PutInt32(0x01020304);
  chunk.PutBool(true);
  chunk.PutBool(false);
  chunk.PutString("ab");
  chunk.PutDouble(1.0);
  const std::vector<std::uint8_t> expected = {4, 3, 2, 1, 1, 0, 2, 0, 0, 0, 'a', 'b', 0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
  EXPECT_EQ(Bytes(chunk), expected);

  std::int32_t i = 0;
  bool b = false;
  std::string s;
  double d = 0;
  int pos = chunk.GetInt32(i, 0);
  pos = chunk.GetBool(b, pos);
  EXPECT_TRUE(b);
  pos = chunk.GetBool(b, pos);
  EXPECT_FALSE(b);
  pos = chunk.GetString(s, pos);
  pos = chunk.GetDouble(d, pos);
  EXPECT_EQ(i, 0x01020304);
  EXPECT_EQ(s, "ab");
  EXPECT_EQ(d, 1.0);
  EXPECT_EQ(pos, chunk.Size());
}

TEST(ByteChunk, ReadsPastTheEndFailAndLeaveTheDestination) {
  ByteChunk chunk;
  chunk.PutInt32(7);
  std::int32_t value = 42;
  EXPECT_EQ(chunk.GetInt32(value, 1), -1);
  EXPECT_EQ(value, 42);
  double d = 3.0;
  EXPECT_EQ(chunk.GetDouble(d, 0), -1);
  EXPECT_EQ(d, 3.0);
  EXPECT_EQ(chunk.GetInt32(value, -1), -1);
  bool flag = true;
  EXPECT_EQ(chunk.GetBool(flag, 4), -1);
  EXPECT_EQ(chunk.GetInt32(value, 0), 4);
  EXPECT_EQ(value, 7);
}

TEST(ByteChunk, StringLengthsThatLieMakeEveryLaterReadFail) {
  ByteChunk negative;
  negative.PutInt32(-3);
  negative.PutInt32(99);
  std::string text = "old";
  EXPECT_EQ(negative.GetString(text, 0), -1);  // never moves backwards
  EXPECT_EQ(text, "");

  ByteChunk tooLong;
  tooLong.PutInt32(100);
  tooLong.PutBytes("abc", 3);
  EXPECT_EQ(tooLong.GetString(text, 0), -1);
  std::int32_t after = 0;
  EXPECT_EQ(tooLong.GetInt32(after, tooLong.GetString(text, 0)), -1);

  ByteChunk empty;
  empty.PutString("");
  EXPECT_EQ(empty.GetString(text, 0), 4);
  EXPECT_EQ(text, "");
  EXPECT_EQ(empty.GetString(text, 2), -1);  // fewer than 4 bytes left
}

TEST(ByteChunk, SkippingAStringEndsWhereReadingItEnds) {
  ByteChunk chunk;
  chunk.PutString("Classic Analog Brass");
  chunk.PutString("");
  chunk.PutInt32(-3);
  chunk.PutInt32(0x7FFFFFFF);
  std::string text;
  // From every position, including the lying lengths and positions past the
  // end or near the largest int, skipping and reading agree.
  for (int pos : {0, 1, 24, 28, 32, 36, 40, -1, 0x7FFFFFFF - 2}) {
    EXPECT_EQ(chunk.SkipString(pos), chunk.GetString(text, pos)) << "at " << pos;
  }
  EXPECT_EQ(chunk.SkipString(0), 24);
}

TEST(ByteChunk, FrameworkHeader) {
  ByteChunk chunk;
  chunk.PutInt32(5);
  WriteChunkHeader(chunk);  // clears first
  EXPECT_EQ(Bytes(chunk), (std::vector<std::uint8_t>{'t', 'f', 'f', 'p', 0, 0, 1, 0}));
  int pos = 0;
  EXPECT_EQ(ReadChunkHeader(chunk, pos), 0x00010000);
  EXPECT_EQ(pos, 8);

  ByteChunk other;
  other.PutInt32(1234);
  other.PutInt32(0x00010000);
  pos = 0;
  EXPECT_EQ(ReadChunkHeader(other, pos), 0);
  EXPECT_EQ(pos, 0);  // no magic: position untouched

  ByteChunk cut;
  cut.PutInt32(kChunkMagic);
  pos = 0;
  EXPECT_EQ(ReadChunkHeader(cut, pos), 0);
  EXPECT_EQ(pos, -1);
}

}  // namespace
