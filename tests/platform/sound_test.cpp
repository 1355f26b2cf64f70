// The multimedia command function and the sound folder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QtEndian>
#include <cmath>

#include "platform/sound.h"
#include "support/test_support.h"

namespace {

// A short sine tone as a PCM wave file.
QByteArray ToneWave() {
  const int rate = 8000, samples = 800;
  QByteArray data;
  for (int i = 0; i < samples; ++i) {
    const auto v = static_cast<qint16>(8000 * std::sin(i * 2 * M_PI * 440 / rate));
    data.append(reinterpret_cast<const char*>(&v), 2);
  }
  auto u32 = [](quint32 v) { QByteArray b(4, 0); qToLittleEndian(v, b.data()); return b; };
  auto u16 = [](quint16 v) { QByteArray b(2, 0); qToLittleEndian(v, b.data()); return b; };
  return "RIFF" + u32(36 + data.size()) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(rate) +
         u32(rate * 2) + u16(2) + u16(16) + "data" + u32(data.size()) + data;
}

TEST(Sound, PlayStartsWithoutWaitingAndIgnoresEveryFailure) {
  testing_support::ScratchFolder folder;
  QDir().mkdir("with blank");
  folder.Write("with blank/2.wav", ToneWave());
  QElapsedTimer clock;
  clock.start();
  platform::mciExecute("play " + folder.Path("with blank/2.wav"));
  platform::mciExecute("play " + folder.Path("missing.wav"));
  platform::mciExecute("play ");
  platform::mciExecute("stop everything");
  platform::mciExecute(QString());
  QCoreApplication::processEvents();
  EXPECT_LT(clock.elapsed(), 500);  // 100 ms of sound, not waited for
  // Qt loads a sound on a thread of its own; let it finish before the test
  // process ends, or its half-done load shows up as a leak.
  QTest::qWait(500);
}

TEST(Sound, AFileAddedOrReplacedDuringTheRunIsPlayedFromDisk) {
  testing_support::ScratchFolder folder;
  const QString path = folder.Path("1.wav");
  folder.Write("1.wav", "not a wave file");
  platform::mciExecute("play " + path);  // fails to load: no sound
  QTest::qWait(300);
  EXPECT_FALSE(platform::SoundReadyForTesting(path));

  folder.Write("1.wav", ToneWave());  // the player puts a real sound there
  platform::mciExecute("play " + path);
  EXPECT_TRUE(QTest::qWaitFor([&] { return platform::SoundReadyForTesting(path); }, 3000));

  QFile::remove(path);  // gone again: nothing is played from memory
  platform::mciExecute("play " + path);
  EXPECT_FALSE(platform::SoundReadyForTesting(path));
}

TEST(Sound, TheHookSeesTheCommandTextAndTheFileListKeepsTheStartingFolder) {
  QStringList commands;
  platform::SetSoundHookForTesting([&](const QString& c) { commands << c; });
  platform::mciExecute("play /a folder/1.wav");
  platform::SetSoundHookForTesting(nullptr);
  EXPECT_EQ(commands, QStringList{"play /a folder/1.wav"});

  const QString before = QDir::currentPath();
  platform::FileList list;
  testing_support::ScratchFolder elsewhere;  // a later change of folder does not move it
  EXPECT_EQ(list.Path(), before);
  EXPECT_NE(QDir::currentPath(), before);
}

}  // namespace
