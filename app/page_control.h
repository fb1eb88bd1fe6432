// The page control `pc`: the fourteen pages in tab order. A page changed by
// the program runs the page-change handling once, explicitly, just as one
// changed by the user does.
#pragma once

#include <QTabWidget>
#include <functional>
#include <vector>

namespace vmx {

class Page;
class PageContext;

class PageControl final : public QTabWidget {
  Q_OBJECT

 public:
  PageControl(PageContext& context, QWidget* parent);

  // Every page, in tab order.
  const std::vector<Page*>& Pages() const { return pages_; }

  QWidget* PageNamed(const char* name) const;
  // Makes `page` active without the page-change handling.
  void Activate(QWidget* page);
  // Makes `page` active and, if it was not, runs the page-change handling.
  void ShowPage(QWidget* page);
  void SetExpertPagesVisible(bool visible);
  bool ExpertPagesVisible() const;

  // Runs after every page change, by the user or through ShowPage.
  std::function<void()> onPageChange;

  // The pages are laid out to fit the control's minimum size, which the
  // window never goes below. Without these, every layout pass would measure
  // the text of all fourteen pages, shown or not, for a hint nobody uses.
  QSize sizeHint() const override { return minimumSize(); }
  QSize minimumSizeHint() const override { return minimumSize(); }

 private:
  bool quiet_ = false;
  std::vector<Page*> pages_;
};

}  // namespace vmx
