// vorn-render as a user runs it: a subprocess hosting the fake instrument,
// its WAV files read back with sox, the plug-in's own log of what the host did.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "tests/tools/render_fixture.h"

namespace tooltest {
namespace {

constexpr float kVelocityScale = 100.0f / 127.0f;  // OneNote plays at velocity 100

TEST_F(RenderTest, RendersASongToAWavFileLikeAHost) {
  const std::string song = SaveSong("a440.mid", OneNote(69, 480));  // 0.5 s at 120 BPM
  const std::string wav = Path("a440.wav");
  const CommandResult run = Render("--rate 44100 --block 256 --tail 0.25 -o " + Quote(wav) + " " + Quote(song));
  ASSERT_EQ(run.exitStatus, 0) << run.output;

  const SoxAudio audio = ReadWithSox(wav);
  ASSERT_TRUE(audio.ok);
  EXPECT_EQ(audio.rate, 44100);
  EXPECT_EQ(audio.channels, 2);
  EXPECT_NEAR(audio.frames, 22050 + 11025, 1);
  EXPECT_NEAR(Peak(audio), 0.5f * kVelocityScale, 1e-3);  // "Plain Sine" has gain 0.5
  EXPECT_NEAR(ZeroCrossingFrequency(audio, 0, 22050), 440.0, 0.5);
  EXPECT_EQ(Onsets(audio, 100), std::vector<long long>{0});

  // The summary reports the level sox measures.
  const std::size_t peakAt = run.output.find("peak ");
  ASSERT_NE(peakAt, std::string::npos) << run.output;
  EXPECT_NEAR(std::atof(run.output.c_str() + peakAt + 5), 20.0 * std::log10(Peak(audio)), 0.06) << run.output;
  EXPECT_NE(run.output.find("RMS"), std::string::npos);
  EXPECT_NE(run.output.find("x realtime"), std::string::npos);
  EXPECT_NE(run.output.find("0.75 s"), std::string::npos);
  EXPECT_EQ(run.output.find('\r'), std::string::npos) << "a progress bar although stderr is no terminal";

  const std::vector<std::string> lifecycle = LogLines("eff");
  const std::vector<std::string> expected = {"effOpen",           "effSetSampleRate 44100", "effSetBlockSize 256",
                                             "effMainsChanged 1", "effMainsChanged 0",      "effClose"};
  EXPECT_EQ(lifecycle, expected);
  EXPECT_EQ(LogLines("created"), std::vector<std::string>{"created host-version=2400"});
  EXPECT_EQ(LogLines("host"), std::vector<std::string>{"host product=vorn-render vendor=Paper Kite Sounds "
                                                       "vendor-version=10200 rate=44100 block=256 cando-time=1 "
                                                       "cando-size=0 want-midi=1 unknown=0"});
  EXPECT_TRUE(LogLines("error").empty());
  // One audio callback per block of the file, each told where it plays.
  const std::vector<std::string> blocks = LogLines("block");
  ASSERT_EQ(static_cast<long long>(blocks.size()), (audio.frames + 255) / 256);
  EXPECT_EQ(blocks[1], "block start=256 frames=256 tempo=120.000 ppq=0.0116 bar=0.0000 sig=4/4 flags=0x2e02");
  const long long lastFrames = audio.frames - 256 * static_cast<long long>(blocks.size() - 1);
  EXPECT_NE(blocks.back().find("frames=" + std::to_string(lastFrames) + " "), std::string::npos) << blocks.back();

  // Other rates, block sizes and sample formats give the same sound.
  const std::string pcm = Path("a440-pcm16.wav");
  ASSERT_EQ(Render("-r 96000 -b 1000 -t 0 --format pcm16 -q -o " + Quote(pcm) + " " + Quote(song)).exitStatus, 0);
  const SoxAudio pcmAudio = ReadWithSox(pcm);
  EXPECT_EQ(pcmAudio.rate, 96000);
  EXPECT_EQ(pcmAudio.bits, 16);
  EXPECT_NEAR(pcmAudio.frames, 48000, 1);
  EXPECT_NEAR(ZeroCrossingFrequency(pcmAudio, 0, 48000), 440.0, 0.5);
}

TEST_F(RenderTest, HonoursTheTempoMapToTheSample) {
  demo::MidiTrack conductor;
  conductor.Tempo(0, 120);
  demo::MidiTrack notes;
  for (int beat = 0; beat < 8; ++beat) notes.Note(beat * 480, 240, 0, 60 + beat, 100);
  demo::MidiTrack changes;  // tempo changes in a later track count as well
  changes.Tempo(4 * 480, 90);
  changes.Tempo(6 * 480, 150);
  const std::string song = SaveSong("tempo.mid", {conductor, notes, changes});
  // Beats 0-4 at 0.5 s, 4-6 at 2/3 s, 6-7 at 0.4 s.
  const double seconds[] = {0.0, 0.5, 1.0, 1.5, 2.0, 2.0 + 2.0 / 3.0, 2.0 + 4.0 / 3.0, 2.0 + 4.0 / 3.0 + 0.4};
  std::vector<long long> expected;
  for (double s : seconds) expected.push_back(std::llround(s * 48000));

  for (int block : {64, 1000, 4096}) {
    SCOPED_TRACE(block);
    const std::string wav = Path("tempo" + std::to_string(block) + ".wav");
    const CommandResult run =
        Render("-q -r 48000 -b " + std::to_string(block) + " -o " + Quote(wav) + " " + Quote(song));
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    const SoxAudio audio = ReadWithSox(wav);
    ASSERT_TRUE(audio.ok);
    EXPECT_EQ(Onsets(audio, 100), expected);
    for (const std::string& line : LogLines("event")) {
      const long long frame = std::atoll(line.c_str() + line.find("frame=") + 6);
      const int delta = std::atoi(line.c_str() + line.find("delta=") + 6);
      EXPECT_EQ(frame % block, delta) << line;
    }
  }
  // The transport the plug-in reads follows the tempo map.
  bool sawSlow = false;
  bool sawFast = false;
  for (const std::string& line : LogLines("block")) {
    const double start = std::atof(line.c_str() + line.find("start=") + 6) / 48000.0;
    const double tempo = std::atof(line.c_str() + line.find("tempo=") + 6);
    if (start > 2.1 && start < 3.3) {
      EXPECT_DOUBLE_EQ(tempo, 90.0) << line;
      sawSlow = true;
    }
    if (start > 3.4) {
      EXPECT_DOUBLE_EQ(tempo, 150.0) << line;
      sawFast = true;
    }
  }
  EXPECT_TRUE(sawSlow && sawFast);
}

TEST_F(RenderTest, SelectsProgramsByNumberOrName) {
  const std::string song = SaveSong("note.mid", OneNote(69, 480));
  struct Choice {
    const char* program;
    int index;
    double frequency;
    float gain;
  };
  const Choice choices[] = {
      {"2", 2, 880.0, 0.5f}, {"Octave Up", 2, 880.0, 0.5f}, {"'deep drone'", 3, 220.0, 0.8f}, {"1", 1, 440.0, 0.1f}};
  for (const Choice& choice : choices) {
    SCOPED_TRACE(choice.program);
    const std::string wav = Path("program.wav");
    const CommandResult run = Render("-q -f -t 0 --list-programs -p " +
                                     (choice.program[0] == '\'' ? std::string(choice.program) : Quote(choice.program)) +
                                     " -o " + Quote(wav) + " " + Quote(song));
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(LogLines("effSetProgram"), std::vector<std::string>{"effSetProgram " + std::to_string(choice.index)});
    EXPECT_NE(run.output.find("*  " + std::to_string(choice.index) + "  "), std::string::npos) << run.output;
    const SoxAudio audio = ReadWithSox(wav);
    EXPECT_NEAR(ZeroCrossingFrequency(audio, 0, 20000), choice.frequency, 1.0);
    EXPECT_NEAR(Peak(audio), choice.gain * kVelocityScale, 1e-3);
  }

  CommandResult run = Render("-p 4 -o " + Quote(Path("x.wav")) + " " + Quote(song));
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find("program 4 does not exist; the plug-in has programs 0 to 3"), std::string::npos)
      << run.output;
  run = Render("-p 'Loud Saw' -o " + Quote(Path("x.wav")) + " " + Quote(song));
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find("no program named \"Loud Saw\""), std::string::npos) << run.output;
  EXPECT_FALSE(std::filesystem::exists(Path("x.wav")));
}

TEST_F(RenderTest, RefusesBadInputWithAMessageAndKeepsExistingFiles) {
  const std::string corrupt = Path("corrupt.mid");
  std::vector<unsigned char> bytes = {'M', 'T', 'h', 'd', 0,   0, 0, 6, 0, 0, 0,    1,    0,
                                      96,  'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0x40, 0x40, 0x40};
  ASSERT_TRUE(WriteBytes(corrupt, bytes));
  const std::string existing = Path("existing.wav");
  ASSERT_TRUE(WriteBytes(existing, {'k', 'e', 'e', 'p'}));

  CommandResult run = Render("-f -o " + Quote(existing) + " " + Quote(corrupt));
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find("corrupt.mid is not a MIDI file we can play: track 1, byte 23: a data byte without a "
                            "status byte"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(ReadText(existing), "keep");

  const std::string song = SaveSong("note.mid", OneNote(60, 100));
  run = Render("-o " + Quote(existing) + " " + Quote(song));
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find("exists; use --force to replace it"), std::string::npos) << run.output;
  EXPECT_EQ(ReadText(existing), "keep");
  run = Render("-f -o " + Quote(song) + " " + Quote(song));
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find("is one of the input files"), std::string::npos) << run.output;

  run = Render(Quote(song), Path("no-such-plugin.so"));
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find("cannot load plug-in " + Path("no-such-plugin.so") + ": no such file"), std::string::npos)
      << run.output;
  run = Render(Quote(song), corrupt);  // a file that is no library at all
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find("cannot load plug-in"), std::string::npos) << run.output;
  run = Render(Quote(song), FAKE_NO_ENTRY);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find("exports neither VSTPluginMain nor main; it is not a VST 2 plug-in"), std::string::npos)
      << run.output;
  EXPECT_FALSE(std::filesystem::exists(Path("note.wav")));

  for (const char* option : {"--rate 100", "--block 0", "--tail -1", "--format mp3", "--bogus", "--rate"}) {
    run = Render(std::string(option) + " " + Quote(song));
    EXPECT_EQ(run.exitStatus, 1) << option;
    EXPECT_NE(run.output.find("vorn-render: "), std::string::npos) << option << ": " << run.output;
  }
}

TEST_F(RenderTest, LoadsThroughTheOlderEntryPointName) {
  const std::string song = SaveSong("note.mid", OneNote(69, 480));
  const CommandResult run = Render("-q -o " + Quote(Path("legacy.wav")) + " " + Quote(song), FAKE_INSTRUMENT_LEGACY);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_NEAR(Peak(ReadWithSox(Path("legacy.wav"))), 0.5f * kVelocityScale, 1e-3);
}

TEST_F(RenderTest, PrintsTheEffectRecordProgramsAndParameters) {
  const CommandResult run = Render("--info --list-programs --list-params -p 2");
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  for (const char* text :
       {"effect name      Fake Instrument", "vendor           Vorn Tests", "unique ID        'FkIn' (0x466B496E)",
        "programs         4", "parameters       2", "outputs          2",
        "flags            0x130 (canReplacing programChunks isSynth)", "vendor version   7", "   0  Plain Sine",
        "*  2  Octave Up", "   3  Deep Drone", "   0  Gain                     0.50             x        0.5000",
        "   1  Octave                   +1               oct      0.7500"}) {
    EXPECT_NE(run.output.find(text), std::string::npos) << text << "\n" << run.output;
  }
  EXPECT_TRUE(LogLines("effMainsChanged").empty());  // listing renders nothing
}

TEST_F(RenderTest, HelpDescribesEveryOption) {
  const CommandResult run = RunCommand(Quote(VORN_RENDER_EXE) + " --help");
  ASSERT_EQ(run.exitStatus, 0);
  for (const char* option : {"--output", "--force", "--plugin", "--program", "--fxp", "--fxb", "--rate", "--block",
                             "--tail", "--format", "--info", "--list-programs", "--list-params", "--quiet"}) {
    EXPECT_NE(run.output.find(option), std::string::npos) << option;
  }
  EXPECT_EQ(RunCommand(Quote(VORN_RENDER_EXE)).exitStatus, 1);
}

#ifdef VORN_PLUGIN
// The real instrument plays the demo piece through the demo script.
TEST(VornDemo, RenderDemoScriptWritesAudibleFiles) {
  ScratchFolder folder;
  const CommandResult run = RunCommand("VORN_PLUGIN=" + Quote(VORN_PLUGIN) + " " + Quote(RENDER_DEMO_SCRIPT) + " " +
                                       Quote(BUILD_DIR) + " " + Quote(folder.Path("demo")));
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  for (const char* name : {"fat-saws", "bass-one", "string-ensemble", "synced-lead-1", "bell-piano"}) {
    SCOPED_TRACE(name);
    const SoxAudio audio = ReadWithSox(folder.Path(std::string("demo/") + name + ".wav"));
    ASSERT_TRUE(audio.ok);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_GT(audio.frames, 10 * audio.rate);
    float peak = 0.0f;
    for (float x : audio.samples) {
      ASSERT_TRUE(std::isfinite(x));
      peak = std::fmax(peak, std::fabs(x));
    }
    EXPECT_GT(peak, 0.01f);
  }
}
#endif

}  // namespace
}  // namespace tooltest
