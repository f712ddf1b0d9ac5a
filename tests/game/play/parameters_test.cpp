#include "game/play/parameters.h"

#include "core/zabkolex_strings.h"
#include "platform/registry_ini_file.h"
#include "tests/common/test_util.h"

#include <QFile>

#include <gtest/gtest.h>

namespace zabko {
namespace {

// Each test gets keys of its own, so that stores of one test never see another's values.
QString Key(const char* name) { return QStringLiteral("Software\\GameTest\\") + name; }

TEST(GameParametersTest, ValuesGoUnderSectionsOfTheKeyAndDefaultsFillTheGaps) {
  {
    TRegistryParameters store(Key("RoundTrip"));
    EXPECT_EQ(store.Path(), Key("RoundTrip"));
    EXPECT_FALSE(store.ReadOnly());
    EXPECT_EQ(store.ReadString(kMainSection, kUIdValue, ""), "");
    EXPECT_EQ(store.ReadInteger(kMainSection, kAudioValue, kDefaultAudio), 6);
    EXPECT_TRUE(store.ReadBool(kMainSection, kSoundOnValue, kDefaultSoundOn));
    store.WriteString(kMainSection, kUIdValue, "u-42");
    store.WriteInteger(kMainSection, kAudioValue, 2);
    store.WriteBool(kMainSection, kSoundOnValue, false);
  }
  // A new store over the same key reads what the first wrote, from the settings file.
  TRegistryParameters again(Key("RoundTrip"));
  EXPECT_EQ(again.ReadString("main", "uid", ""), "u-42") << "names compare without case";
  EXPECT_EQ(again.ReadInteger(kMainSection, kAudioValue, 6), 2);
  EXPECT_FALSE(again.ReadBool(kMainSection, kSoundOnValue, true));
  QStringList names{"stale"};
  again.ReadSection(kMainSection, names);
  EXPECT_EQ(names, QStringList({"UId", "Audio", "SoundOn"}));
  EXPECT_EQ(TRegistryIniFile(Key("RoundTrip")).ReadString("Main", "UId", ""), "u-42");
}

TEST(GameParametersTest, AReadOnlyStoreReadsButNeverWrites) {
  TRegistryIniFile(Key("Learning")).WriteString("Login", "LastUsername", "dana");
  TRegistryParameters store(Key("Learning"), true);
  EXPECT_EQ(store.ReadString("Login", "LastUsername", ""), "dana");
  for (const auto& write : std::vector<std::function<void()>>{
           [&] { store.WriteString("Login", "LastUsername", "eve"); },
           [&] { store.WriteInteger("Login", "Count", 1); },
           [&] { store.WriteBool("Login", "Flag", true); },
       }) {
    EXPECT_EQ(test::MessageOf(write), "Parameters are readonly");
  }
  EXPECT_EQ(TRegistryIniFile(Key("Learning")).ReadString("Login", "LastUsername", ""), "dana");
  EXPECT_FALSE(TRegistryIniFile(Key("Learning")).ValueExists("Login", "Count"));

  // Opening a key that does not exist read-only leaves no file behind.
  const QString missing = TRegistryIniFile(Key("NoSuchProgram")).FileName();
  { TRegistryParameters reader(Key("NoSuchProgram"), true); EXPECT_EQ(reader.ReadInteger("Main", "Audio", 6), 6); }
  EXPECT_FALSE(QFile::exists(missing));
}

TEST(GameParametersTest, SetPathMovesTheStoreToAnotherKey) {
  TRegistryParameters store(Key("First"));
  store.WriteInteger("Main", "Audio", 1);
  store.SetPath(Key("Second"));
  EXPECT_EQ(store.Path(), Key("Second"));
  EXPECT_EQ(store.ReadInteger("Main", "Audio", 6), 6);
  store.WriteInteger("Main", "Audio", 3);
  EXPECT_EQ(TRegistryIniFile(Key("First")).ReadInteger("Main", "Audio", 0), 1);
  EXPECT_EQ(TRegistryIniFile(Key("Second")).ReadInteger("Main", "Audio", 0), 3);
}

TEST(GameParametersTest, BothProgramsKeysAreFormedFromTheGamePack) {
  TZabkolexStrings strings;
  strings.Load(kGameHebrewGuiPack);
  EXPECT_EQ(GameRegistryKey(strings), "Software\\Kestrani\\Zabkoplay");
  EXPECT_EQ(LearningRegistryKey(strings), "Software\\Kestrani\\Zabkolex");
  // The game's settings file sits beside the learning program's.
  EXPECT_TRUE(TRegistryIniFile(GameRegistryKey(strings)).FileName().endsWith("/Kestrani/Zabkoplay.ini"));
}

}  // namespace
}  // namespace zabko
