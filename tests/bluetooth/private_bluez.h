// python-dbusmock's bluez5 on a private bus, standing in for bluetoothd on
// the system bus, with a board's side of the pairing added: its Pair asks
// the registered agent for the PIN, as a board with a fixed PIN makes BlueZ do.
#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QProcess>
#include <QStringList>
#include <QTest>

#include "tests/app/private_bus.h"

namespace vmx::testing {

inline constexpr const char* kSerialPortUuid = "00001101-0000-1000-8000-00805f9b34fb";

class PrivateBluez {
 public:
  static bool Available() { return PrivateLogind::Available(); }

  PrivateBluez() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SYSTEM_BUS_ADDRESS", bus_.Address());
    mock_.setProcessEnvironment(env);
    mock_.start("/usr/bin/python3", {"-m", "dbusmock", "--system", "--template", "bluez5"});
    probe_ = bus_.Connect("bluez-probe");
    ready_ = QTest::qWaitFor(
        [&] {
          return probe_.isConnected() &&
                 probe_.interface()->isServiceRegistered("org.bluez").value();
        },
        15000);
    // Any Python the test needs on the bluetoothd side.
    ready_ = ready_ && Ok(Call("/", "org.freedesktop.DBus.Mock", "AddMethod",
                               {"org.bluez.Mock", "Run", "s", "", "exec(args[0])"}));
  }

  ~PrivateBluez() {
    mock_.kill();
    mock_.waitForFinished(5000);
  }

  bool Ready() const { return ready_; }
  const QString& Address() const { return bus_.Address(); }

  QDBusMessage Call(const QString& path, const QString& interface, const QString& method,
                    const QVariantList& args = {}) {
    QDBusMessage m = QDBusMessage::createMethodCall("org.bluez", path, interface, method);
    m.setArguments(args);
    return probe_.call(m, QDBus::Block, 20000);
  }
  static bool Ok(const QDBusMessage& reply) { return reply.type() == QDBusMessage::ReplyMessage; }
  // Runs Python inside the mock, with its `objects` at hand.
  bool Run(const QString& code) { return Ok(Call("/", "org.bluez.Mock", "Run", {code})); }

  QString AddAdapter(const QString& name = "hci0") {
    return Call("/", "org.bluez.Mock", "AddAdapter", {name, "velmarinex-test"})
        .arguments()
        .value(0)
        .toString();
  }
  bool SetPowered(const QString& adapter, bool on) {
    return Ok(Call(adapter, "org.freedesktop.DBus.Mock", "UpdateProperties",
                   {"org.bluez.Adapter1", QVariantMap{{"Powered", on}}}));
  }
  // A board that pairs only with `pin` and then offers `services`.
  QString AddBoard(const QString& address, const QString& name = "Velmarinex2",
                   const QString& pin = "7391", const QStringList& services = {kSerialPortUuid}) {
    const QString path = AddDevice(address, name);
    return BoardPairing(path, pin, services) ? path : QString();
  }
  QString AddDevice(const QString& address, const QString& name) {
    return Call("/", "org.bluez.Mock", "AddDevice", {"hci0", address, name})
        .arguments()
        .value(0)
        .toString();
  }
  // A device that has not sent its name yet.
  bool ForgetName(const QString& path) {
    return Run(QString("del objects['%1'].props['org.bluez.Device1']['Name']").arg(path));
  }
  bool SendName(const QString& path, const QString& name) {
    return Run(QString("objects['%1'].props['org.bluez.Device1']['Name'] = "
                       "dbus.String('%2', variant_level=1)")
                   .arg(path, name));
  }
  // Paired before the run, offering `services`.
  bool MarkPaired(const QString& path, const QStringList& services = {kSerialPortUuid}) {
    return Run(QString("d = objects['%1']\n"
                       "d.paired = True\n"
                       "d.props['org.bluez.Device1']['Paired'] = dbus.Boolean(True, "
                       "variant_level=1)\n"
                       "d.props['org.bluez.Device1']['UUIDs'] = dbus.Array([%2], "
                       "signature='s', variant_level=1)\n")
                   .arg(path, Quoted(services)));
  }
  bool SetConnected(const QString& path, bool connected) {
    return Ok(Call(path, "org.freedesktop.DBus.Mock", "UpdateProperties",
                   {"org.bluez.Device1", QVariantMap{{"Connected", connected}}}));
  }
  // Pair that never answers in time.
  bool HangingPairing(const QString& path) {
    return Ok(Call(path, "org.freedesktop.DBus.Mock", "AddMethod",
                   {"org.bluez.Device1", "Pair", "", "", "import time\ntime.sleep(4)"}));
  }

  bool Exists(const QString& path) {
    return Ok(Call(path, "org.freedesktop.DBus.Properties", "GetAll", {"org.bluez.Device1"}));
  }
  QVariant Property(const QString& path, const QString& name) {
    const QDBusMessage reply =
        Call(path, "org.freedesktop.DBus.Properties", "Get", {"org.bluez.Device1", name});
    return reply.arguments().value(0).value<QDBusVariant>().variant();
  }
  // How often `method` of the object at `path` was called, and with what.
  QList<QVariantList> Calls(const QString& path, const QString& method) {
    const QDBusMessage reply = Call(path, "org.freedesktop.DBus.Mock", "GetMethodCalls", {method});
    QList<QVariantList> calls;
    const QDBusArgument arg = reply.arguments().value(0).value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
      qulonglong stamp = 0;
      QVariantList args;
      arg.beginStructure();
      arg >> stamp >> args;
      arg.endStructure();
      calls.append(args);
    }
    arg.endArray();
    return calls;
  }

 private:
  static QString Quoted(const QStringList& list) {
    QStringList quoted;
    for (const QString& s : list) quoted << "'" + s + "'";
    return quoted.join(", ");
  }

  // The board's side: it asks every agent BlueZ knows for the PIN of this
  // device, fails the pairing if an agent also answers for a stranger, and
  // compares the PIN with its own.
  bool BoardPairing(const QString& path, const QString& pin, const QStringList& services) {
    const QString code = QString(R"(
bus = self.connection
mine = bus.get_unique_name()
answer = None
stranger = None
for name in bus.list_names():
    if not name.startswith(':') or name == mine:
        continue
    for agent in list(objects['/org/bluez'].agent_paths):
        try:
            answer = str(bus.call_blocking(name, agent, 'org.bluez.Agent1', 'RequestPinCode', 'o', [dbus.ObjectPath(self.path)], timeout=5))
        except dbus.exceptions.DBusException:
            continue
        try:
            stranger = bus.call_blocking(name, agent, 'org.bluez.Agent1', 'RequestPinCode', 'o', [dbus.ObjectPath(self.path + '_stranger')], timeout=5)
        except dbus.exceptions.DBusException:
            pass
if stranger is not None:
    raise dbus.exceptions.DBusException('The agent answered for another device', name='org.bluez.Error.Failed')
if answer != '%1':
    raise dbus.exceptions.DBusException('Authentication Failed', name='org.bluez.Error.AuthenticationFailed')
self.paired = True
self.props['org.bluez.Device1']['Paired'] = dbus.Boolean(True, variant_level=1)
self.props['org.bluez.Device1']['UUIDs'] = dbus.Array([%2], signature='s', variant_level=1)
)")
                             .arg(pin, Quoted(services));
    return Ok(Call(path, "org.freedesktop.DBus.Mock", "AddMethod",
                   {"org.bluez.Device1", "Pair", "", "", code}));
  }

  PrivateBus bus_;
  QProcess mock_;
  QDBusConnection probe_{QString()};
  bool ready_ = false;
};

}  // namespace vmx::testing
