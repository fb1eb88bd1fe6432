// Private D-Bus daemons for the tests, and python-dbusmock's logind on one.
// Every process started here is ended by its id when its object goes.
#pragma once

#include <signal.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QTest>

namespace vmx::testing {

// A bus of the test's own; the daemon is ended by its id.
class PrivateBus {
 public:
  static bool Available() {
    return QProcess::execute("sh", {"-c", "command -v dbus-daemon >/dev/null"}) == 0;
  }

  PrivateBus() {
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--fork", "--print-address=1", "--print-pid=1"});
    daemon.waitForFinished(10000);
    const QStringList out = QString::fromLocal8Bit(daemon.readAllStandardOutput()).split('\n');
    if (out.size() < 2) return;
    address_ = out[0].trimmed();
    pid_ = out[1].trimmed().toInt();
  }
  ~PrivateBus() {
    if (pid_ > 0) ::kill(pid_, SIGTERM);
  }

  const QString& Address() const { return address_; }
  // A connection of the test's own to the bus.
  QDBusConnection Connect(const QString& name) const {
    return QDBusConnection::connectToBus(address_, name + ' ' + address_);
  }

 private:
  QString address_;
  int pid_ = 0;
};

// python-dbusmock's logind on a private bus, standing in for the system bus.
class PrivateLogind {
 public:
  static bool Available() {
    return PrivateBus::Available() &&
           QProcess::execute("/usr/bin/python3", {"-c", "import dbusmock"}) == 0;
  }

  PrivateLogind() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SYSTEM_BUS_ADDRESS", bus_.Address());
    mock_.setProcessEnvironment(env);
    mock_.start("/usr/bin/python3", {"-m", "dbusmock", "--system", "--template", "logind"});
    QDBusConnection probe = bus_.Connect("probe");
    ready_ = QTest::qWaitFor(
        [&] {
          return probe.isConnected() &&
                 probe.interface()->isServiceRegistered("org.freedesktop.login1").value();
        },
        15000);
  }

  ~PrivateLogind() {
    mock_.terminate();
    mock_.waitForFinished(5000);
  }

  bool Ready() const { return ready_; }
  const QString& Address() const { return bus_.Address(); }

  // logind's notice before (true) or after (false) a sleep.
  bool PrepareForSleep(bool start) {
    QDBusMessage call =
        QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                       "org.freedesktop.DBus.Mock", "EmitSignal");
    call << QString("org.freedesktop.login1.Manager") << QString("PrepareForSleep") << QString("b")
         << QVariantList{QVariant::fromValue(QDBusVariant(start))};
    return bus_.Connect("probe").call(call).type() == QDBusMessage::ReplyMessage;
  }

 private:
  PrivateBus bus_;
  QProcess mock_;
  bool ready_ = false;
};

}  // namespace vmx::testing
