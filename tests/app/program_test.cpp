// The program itself: --demo connects to the built-in board, SIGTERM closes
// the window as the user would, and the demo leaves the user's settings alone.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

TEST(Program, DemoConnectsAndSigtermEndsItCleanly) {
  QTemporaryDir home;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_CONFIG_HOME", home.filePath("config"));
  env.insert("LANG", "C");
  QProcess program;
  program.setProcessEnvironment(env);
  program.start(VELMARINEX_PATH, {"--demo", "-english"});
  ASSERT_TRUE(program.waitForStarted(5000));

  QString err;
  const bool read = QTest::qWaitFor(
      [&] {
        program.waitForReadyRead(50);
        err += QString::fromLocal8Bit(program.readAllStandardError());
        return err.contains("Written to registry: ");
      },
      20000);
  EXPECT_TRUE(read) << err.toStdString();
  EXPECT_TRUE(err.contains("] Parameter: --demo\n"));
  EXPECT_TRUE(err.contains("] Connected to Velmarinex 2.x.4 on /dev/pts/"));
  EXPECT_TRUE(err.contains("] Downloading schedule..."));

  ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
  ASSERT_TRUE(program.waitForFinished(5000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  EXPECT_FALSE(QDir(home.filePath("config")).exists("Velmarinex2.conf"))
      << "the demo's port is not remembered";
}

}  // namespace
