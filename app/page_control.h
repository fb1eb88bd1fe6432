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

 private:
  bool quiet_ = false;
  std::vector<Page*> pages_;
};

}  // namespace vmx
