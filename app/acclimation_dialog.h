// Options > Acclimation...: the board's plan shown with today's factor and
// the EEPROM saves it has made, and a new plan started, a paused one resumed
// or a plan cancelled.
#pragma once

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vmx {

class PlanKeeper;
class PageContext;

class AcclimationDialog final : public QDialog {
  Q_OBJECT

 public:
  AcclimationDialog(PageContext& context, PlanKeeper& keeper, QWidget* parent);

  // Shows the plan as stored and enables what can be done with it.
  void ShowPlan();

  void btnAcclimationStartClick();
  void btnAcclimationResumeClick();
  void btnAcclimationCancelClick();

 private:
  PageContext& context_;
  PlanKeeper& keeper_;
  QSpinBox* start_;
  QSpinBox* days_;
  QLineEdit* channels_;
  QDateEdit* from_;
  QLabel* status_;
  QPushButton* begin_;
  QPushButton* resume_;
  QPushButton* cancel_;
};

}  // namespace vmx
