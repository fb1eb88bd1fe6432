// The remembered port in the user's settings under the product name
// "Velmarinex2": on Windows the registry key Software\Velmarinex2, elsewhere
// Velmarinex2.conf in the user's configuration directory.
#pragma once

#include <QString>

#include "persist/preferences.h"

namespace vmx {

class QSettingsPreferences final : public Preferences {
 public:
  QSettingsPreferences();

  bool KeyExists() override;
  std::optional<std::string> ReadPort() override;
  bool WritePort(const std::string& port) override;
  void DeleteKey() override;

  QString FileName() const { return fileName_; }

 private:
  QString fileName_;
};

}  // namespace vmx
