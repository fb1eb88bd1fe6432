// A private D-Bus daemon with python-dbusmock's logind on it, standing in for
// the system bus. Both processes are ended by id when the object goes.
#pragma once

#include <signal.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QTest>

namespace vmx::testing {

class PrivateLogind {
 public:
  static bool Available() {
    return QProcess::execute("/usr/bin/python3", {"-c", "import dbusmock"}) == 0 &&
           QProcess::execute("sh", {"-c", "command -v dbus-daemon >/dev/null"}) == 0;
  }

  PrivateLogind() {
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--fork", "--print-address=1", "--print-pid=1"});
    daemon.waitForFinished(10000);
    const QStringList out = QString::fromLocal8Bit(daemon.readAllStandardOutput()).split('\n');
    if (out.size() < 2) return;
    address_ = out[0].trimmed();
    daemonPid_ = out[1].trimmed().toInt();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SYSTEM_BUS_ADDRESS", address_);
    mock_.setProcessEnvironment(env);
    mock_.start("/usr/bin/python3", {"-m", "dbusmock", "--system", "--template", "logind"});
    QDBusConnection probe = QDBusConnection::connectToBus(address_, "vmx-test-probe");
    ready_ = QTest::qWaitFor(
        [&] {
          return probe.isConnected() &&
                 probe.interface()->isServiceRegistered("org.freedesktop.login1").value();
        },
        15000);
  }

  ~PrivateLogind() {
    QDBusConnection::disconnectFromBus("vmx-test-probe");
    mock_.terminate();
    mock_.waitForFinished(5000);
    if (daemonPid_ > 0) ::kill(daemonPid_, SIGTERM);
  }

  bool Ready() const { return ready_; }
  const QString& Address() const { return address_; }

  // logind's notice before (true) or after (false) a sleep.
  bool PrepareForSleep(bool start) {
    QDBusMessage call =
        QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                       "org.freedesktop.DBus.Mock", "EmitSignal");
    call << QString("org.freedesktop.login1.Manager") << QString("PrepareForSleep") << QString("b")
         << QVariantList{QVariant::fromValue(QDBusVariant(start))};
    return QDBusConnection::connectToBus(address_, "vmx-test-probe").call(call).type() ==
           QDBusMessage::ReplyMessage;
  }

 private:
  QString address_;
  int daemonPid_ = 0;
  QProcess mock_;
  bool ready_ = false;
};

}  // namespace vmx::testing
