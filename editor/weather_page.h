// The Weather page: clouds and thunderstorms (how often, how long, how dark,
// how fast they dim), lightning, the long-run ratios, and the buttons that
// start or stop a cloud or storm now.
#pragma once

#include <array>

#include "ui/page.h"

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace vmx {

class WeatherPage final : public Page {
  Q_OBJECT

 public:
  explicit WeatherPage(PageContext& context);

  void Apply(RecordKind record) override;

 private:
  // The four controls the user sets in counts and durations.
  enum Quantity { CloudCount, CloudSeconds, StormCount, StormMinutes, kQuantities };
  struct Pair {
    QSlider* slider = nullptr;
    QLineEdit* edit = nullptr;
  };

  // A button that sets off a cloud or a thunderstorm.
  struct Trigger {
    const char* name;
    void (*action)(SharedStore&);
  };
  QGroupBox* BuildGroup(const char* name, std::initializer_list<const char*> plainPairs,
                        Quantity count, Quantity duration, Trigger button, const char* ratio);
  void AddQuantity(QGridLayout* grid, int row, Quantity quantity);
  void AddPlainPair(QGridLayout* grid, int row, const QString& stem, int tickInterval);

  void EditChanged(Quantity quantity);
  void SliderMoved(Quantity quantity);
  // Stores the one quantity the user changed (the others keep their record
  // values), shows the ratios again and sends the Config record.
  void StoreQuantity(Quantity quantity);
  void ApplyWeatherCounts();
  void UpdateWeatherRatios();

  std::array<Pair, kQuantities> pairs_{};
  QLabel* cloudRatio_ = nullptr;
  QLabel* stormRatio_ = nullptr;
};

}  // namespace vmx
