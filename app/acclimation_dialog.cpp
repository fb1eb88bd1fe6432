#include "app/acclimation_dialog.h"

#include <QDate>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/plan_keeper.h"
#include "lang/catalogue.h"
#include "lang/number_text.h"
#include "planning/plan_file.h"
#include "ui/names.h"
#include "ui/page_context.h"
#include "ui/quiet.h"

namespace vmx {
namespace {

QString T(const char* key) {
  return QString::fromStdString(LangText(key));
}

QPushButton* Button(QWidget* parent, const char* name, const char* key) {
  auto* button = new QPushButton(T(key), parent);
  button->setObjectName(name);
  return button;
}

}  // namespace

AcclimationDialog::AcclimationDialog(PageContext& context, PlanKeeper& keeper, QWidget* parent)
    : QDialog(parent), context_(context), keeper_(keeper) {
  setObjectName(names::frmAcclimation);
  setWindowTitle(T("AcclimationTitle"));
  start_ = new QSpinBox(this);
  start_->setObjectName("edtAcclimationStart");
  start_->setRange(0, 100);
  start_->setValue(50);
  start_->setSuffix(" %");
  days_ = new QSpinBox(this);
  days_->setObjectName("edtAcclimationDays");
  days_->setRange(1, 365);
  days_->setValue(21);
  channels_ = new QLineEdit("A-L", this);
  channels_->setObjectName("edtAcclimationChannels");
  from_ = new QDateEdit(QDate::currentDate(), this);
  from_->setObjectName("dtpAcclimationFrom");
  from_->setCalendarPopup(true);
  status_ = new QLabel(this);
  status_->setObjectName("lblAcclimationStatus");
  status_->setWordWrap(true);
  begin_ = Button(this, "btnAcclimationStart", "AcclimationBegin");
  resume_ = Button(this, "btnAcclimationResume", "AcclimationResume");
  cancel_ = Button(this, "btnAcclimationCancel", "AcclimationCancel");

  auto* form = new QFormLayout;
  form->addRow(T("AcclimationStartLevel"), start_);
  form->addRow(T("AcclimationDays"), days_);
  form->addRow(T("AcclimationChannels"), channels_);
  form->addRow(T("AcclimationFrom"), from_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(begin_);
  buttons->addWidget(resume_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addLayout(form);
  layout->addLayout(buttons);

  connect(begin_, &QPushButton::clicked, this, &AcclimationDialog::btnAcclimationStartClick);
  connect(resume_, &QPushButton::clicked, this, &AcclimationDialog::btnAcclimationResumeClick);
  connect(cancel_, &QPushButton::clicked, this, &AcclimationDialog::btnAcclimationCancelClick);
}

void AcclimationDialog::ShowPlan() {
  const PlanResult r = keeper_.Status();
  const bool connected = context_.Connected();
  const bool open = r.plan && r.plan->state != AcclimationPlan::State::Finished;
  begin_->setEnabled(connected && !open && r.kind != PlanResult::Kind::Failed);
  resume_->setEnabled(connected && r.kind == PlanResult::Kind::Paused);
  cancel_->setEnabled(connected && open);
  if (r.kind == PlanResult::Kind::Failed) {
    status_->setText(QString::fromStdString(r.problem));
    return;
  }
  if (!r.plan) {
    status_->setText(T("AcclimationNone"));
    return;
  }
  const AcclimationPlan& p = *r.plan;
  const char* state = p.state == AcclimationPlan::State::Paused ? "AcclimationStatePaused"
                      : p.state == AcclimationPlan::State::Running
                          ? "AcclimationStateRunning"
                          : p.cancelled ? "AcclimationStateCancelled"
                                        : "AcclimationStateFinished";
  status_->setText(QString::fromStdString(LangFormat(
      "AcclimationStatus",
      {LangText(state), std::to_string(r.day), std::to_string(p.days),
       FormatDecimal(DayFactorPercent(p, r.day), 0, 1, DecimalSeparator()),
       ChannelSetText(p.channels), DateText(p.firstDay), std::to_string(p.saves)})));
}

void AcclimationDialog::btnAcclimationStartClick() {
  PlanSettings settings;
  settings.startPercent = start_->value();
  settings.days = days_->value();
  const QDate first = from_->date();
  settings.firstDay = ParseDate(first.toString("yyyy-MM-dd").toStdString());
  const std::string typed = channels_->text().trimmed().toStdString();
  const auto channels = ParseChannelSet(typed);
  // Channels that are no set leave the plan unmade; the log says why and the
  // field shows what it takes.
  if (!channels) {
    context_.AddLogLine(LangFormat("AcclimationBadChannels", {typed}));
    channels_->setText("A-L");
    return;
  }
  settings.channels = *channels;
  keeper_.Start(settings);
  ShowPlan();
}

void AcclimationDialog::btnAcclimationResumeClick() {
  keeper_.Resume();
  ShowPlan();
}

void AcclimationDialog::btnAcclimationCancelClick() {
  keeper_.Cancel();
  ShowPlan();
}

}  // namespace vmx
