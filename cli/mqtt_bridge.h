// The board seen through MQTT: its state goes out as retained topics under
// PREFIX/ID, and messages to PREFIX/ID/set/... act on it through the same
// routines as the window's controls. The link worker's hand-offs fill in what
// is to be published; the main thread publishes it and serves the commands.
//
// Threads: the bridge runs for days with two threads. The link worker calls
// the Listener side inside its hand-offs; the main thread runs the MQTT
// client, publishes and carries commands out inside BoardSession::OnUi. Both
// of those hold the session's inline host lock, which stands for the window's
// UI thread: only there are the records read or edited. What goes to the
// broker crosses from one to the other as a snapshot under lock_.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "cli/board_session.h"
#include "cli/mqtt_client.h"
#include "cli/mqtt_topics.h"
#include "platform/mutex.h"

namespace vmx::cli {

struct BridgeOptions {
  std::string prefix = "velmarinex";
  std::string id;
  bool discovery = false;  // Home Assistant discovery documents
};

class MqttBridge final : public BoardSession::Listener {
 public:
  using LogFn = std::function<void(const std::string&)>;

  MqttBridge(BridgeOptions options, LogFn log);
  // The session whose board this is; before anything else is called.
  void Attach(BoardSession& session) { session_ = &session; }

  std::string Base() const { return options_.prefix + "/" + options_.id; }
  std::string AvailabilityTopic() const { return Base() + "/availability"; }
  std::string CommandTopics() const { return Base() + "/set/#"; }

  // On the main thread: a message to a command topic. One the broker kept
  // from earlier is not a command of now.
  void Command(const std::string& topic, const std::string& payload, bool retained);
  // On the main thread: publishes what changed since the last call.
  void Publish(MqttClient& client) EXCLUDES(lock_);
  // A new broker connection: everything goes out again.
  void Republish() EXCLUDES(lock_);

  // The link's hand-offs, on the worker's thread.
  void LinkChanged(bool connected) EXCLUDES(lock_) override;
  void RecordRead(RecordKind record, SharedStore& store, bool complete) EXCLUDES(lock_) override;
  void Said(const std::string& text, bool status) EXCLUDES(lock_) override;

 private:
  // What the board looks like for publishing; the worker writes it, the main
  // thread reads it.
  struct Snapshot {
    bool linkUp = false;
    bool complete = false;  // every record read on this link: the values are the board's
    std::string status;
    TopicValues values;
    std::string settings;
    std::optional<DiscoveryFacts> facts;
  };
  // Inside a hand-off: the records as they are now.
  void TakeSnapshot(RecordKind record, SharedStore& store) EXCLUDES(lock_);
  // Inside OnUi: carries out one command; empty when done, else why not.
  std::string Apply(const std::string& command, const std::string& payload);
  std::string SetConfigKey(const std::string& key, const std::string& value);
  void PublishChanged(MqttClient& client, const std::string& topic, const std::string& payload)
      EXCLUDES(lock_);

  BridgeOptions options_;
  LogFn log_;
  BoardSession* session_ = nullptr;

  Mutex lock_;
  Snapshot snapshot_ GUARDED_BY(lock_);
  bool dirty_ GUARDED_BY(lock_) = true;
  bool republish_ GUARDED_BY(lock_) = false;

  std::map<std::string, std::string> published_;  // main thread only
};

}  // namespace vmx::cli
