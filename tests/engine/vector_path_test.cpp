// The SSE2 and AVX2 voice paths render the same random pieces to the bit, as
// the scalar voice code does: both filter modes, sync on and off, envelopes
// starting, ending, being retriggered and settling while the LFO moves the
// cutoff, odd host block sizes, up to 64 voices.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "engine/engine_parameter.h"
#include "engine/lfo.h"
#include "engine/mts_library.h"
#include "engine/vector_path.h"
#include "engine_test_support.h"

namespace p = engine_parameter;

namespace {

struct Rendered {
  Stereo audio;
  std::vector<int> coefficientUpdates;
};

Rendered RenderRandomPiece(unsigned seed) {
  static const MtsLibrary noTuning("");
  std::mt19937 rng(seed);
  const auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  const auto integer = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

  RecordingHost host;
  SynthEngine engine(host, noTuning);
  engine.Reset(seed % 2 ? 44100 : 48000, 300);
  ApplyPatch(engine, {{p::kVolume, 70},
                      {p::kFilterMode, static_cast<double>(seed % 2)},
                      {p::kSync, static_cast<double>(seed / 2 % 2)},
                      {p::kFmAmount, uniform(-100, 100)},
                      {p::kFmSource, static_cast<double>(integer(0, 1))},
                      {p::kOscWave, static_cast<double>(integer(0, 1))},
                      {p::kOsc2Transpose, static_cast<double>(integer(-24, 24))},
                      {p::kFilterFrequency, uniform(3000, 17280)},
                      {p::kFilterResonance, uniform(0, 100)},
                      {p::kFilterEnvAmount, uniform(-100, 100)},
                      {p::kFilterLfoAmount, uniform(-100, 100)},
                      {p::kFilterVelocity, uniform(-100, 100)},
                      {p::kFilterEnvAttack, uniform(0, 30)},
                      {p::kFilterEnvDecay, uniform(0, 40)},
                      {p::kFilterEnvSustain, static_cast<double>(integer(0, 1))},
                      {p::kAmpEnvAttack, uniform(0, 25)},
                      {p::kAmpEnvDecay, uniform(0, 40)},
                      {p::kAmpEnvSustain, static_cast<double>(integer(0, 1))},
                      {p::kAmpEnvRelease, uniform(0, 30)},
                      {p::kLfoWave, static_cast<double>(integer(0, 2))},
                      {p::kLfoFrequency, uniform(0.1, 40)},
                      {p::kChorus, static_cast<double>(integer(0, 1))}});
  Rendered out;
  for (int block = 0; block < 120; ++block) {
    const int frames = integer(1, 700);
    for (int e = integer(0, 6); e > 0; --e) {
      const int offset = integer(0, frames);
      if (integer(0, 2) > 0) {
        NoteOn(engine, integer(24, 100), integer(1, 127), offset);
      } else {
        NoteOff(engine, integer(24, 100), offset);
      }
    }
    if (block % 40 == 39) engine.ReleaseAllVoices();
    const Stereo part = Render(engine, frames, frames);
    out.audio.left.insert(out.audio.left.end(), part.left.begin(), part.left.end());
    out.audio.right.insert(out.audio.right.end(), part.right.begin(), part.right.end());
  }
  for (int v = 0; v < SynthEngine::kVoiceCount; ++v) {
    out.coefficientUpdates.push_back(engine.VoiceAt(v).Filter().CoefficientUpdates());
  }
  return out;
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

class VectorPaths : public testing::Test {
 protected:
  void TearDown() override { SelectVectorPath(BestVectorPath()); }
};

TEST_F(VectorPaths, RenderTheSamePiecesToTheBit) {
  if (BestVectorPath() != VectorPath::kAvx2) GTEST_SKIP() << "this processor has no AVX2";
  for (unsigned seed = 1; seed <= 8; ++seed) {
    ASSERT_TRUE(SelectVectorPath(VectorPath::kSse2));
    const Rendered sse2 = RenderRandomPiece(seed);
    ASSERT_TRUE(SelectVectorPath(VectorPath::kAvx2));
    const Rendered avx2 = RenderRandomPiece(seed);
    EXPECT_GT(PeakAbs(sse2.audio.left), 0.01) << seed;
    EXPECT_TRUE(SameBits(sse2.audio.left, avx2.audio.left)) << "seed " << seed;
    EXPECT_TRUE(SameBits(sse2.audio.right, avx2.audio.right)) << "seed " << seed;
    EXPECT_EQ(sse2.coefficientUpdates, avx2.coefficientUpdates) << "seed " << seed;
  }
}

// The vector code of each path against voices rendered one after another in
// scalar code, on every processor (the AVX2 path where it can run).
TEST_F(VectorPaths, MatchTheScalarVoicesToTheBit) {
  const VectorPath paths[] = {VectorPath::kSse2, VectorPath::kAvx2};
  for (unsigned seed = 1; seed <= 6; ++seed) {
    ASSERT_TRUE(SelectVectorPath(VectorPath::kScalar));
    const Rendered scalar = RenderRandomPiece(seed);
    EXPECT_GT(PeakAbs(scalar.audio.left), 0.01) << seed;
    for (const VectorPath path : paths) {
      if (!SelectVectorPath(path)) continue;
      const Rendered vector = RenderRandomPiece(seed);
      const int name = static_cast<int>(path);
      EXPECT_TRUE(SameBits(scalar.audio.left, vector.audio.left)) << "seed " << seed << ", path " << name;
      EXPECT_TRUE(SameBits(scalar.audio.right, vector.audio.right)) << "seed " << seed << ", path " << name;
      EXPECT_EQ(scalar.coefficientUpdates, vector.coefficientUpdates) << "seed " << seed << ", path " << name;
    }
  }
}

TEST_F(VectorPaths, TheSse2PathCanAlwaysBeSelected) {
  EXPECT_TRUE(SelectVectorPath(VectorPath::kSse2));
  EXPECT_EQ(SelectedVectorPath(), VectorPath::kSse2);
  EXPECT_EQ(SelectVectorPath(VectorPath::kAvx2), BestVectorPath() == VectorPath::kAvx2);
}

}  // namespace
