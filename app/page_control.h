// The page control `pc`: the fourteen pages in tab order. A page changed by
// the program runs the page-change handling once, explicitly, just as one
// changed by the user does.
//
// Only the Messages page, the one in front at start-up, is built with the
// control; the others stand as empty tabs of their name until BuildAll()
// builds them, right after the window's first frame. A page asked for
// before then (by name, or by the user choosing its tab) is built at once.
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

  // Every page built so far, in tab order.
  std::vector<Page*> Pages() const;
  bool AllBuilt() const;
  // Builds every page not built yet, in tab order.
  void BuildAll();

  // The page of that name, built if it was not; nullptr for no such page.
  Page* PageNamed(const char* name);
  template <class P>
  P* PageOf(const char* name) {
    return qobject_cast<P*>(PageNamed(name));
  }
  // The page of that name if it has been built; it is not built for the asking.
  Page* BuiltPage(const char* name) const;
  template <class P>
  P* BuiltPageOf(const char* name) const {
    return qobject_cast<P*>(BuiltPage(name));
  }
  // Whether the page in front is the one of that name.
  bool IsActive(const char* name) const;

  // Puts the tab of that name in front without building its page or the
  // page-change handling: for start-up, before another page comes forward.
  void ActivateTab(const char* name);
  // Makes `page` active without the page-change handling.
  void Activate(QWidget* page);
  // Makes `page` active and, if it was not, runs the page-change handling.
  void ShowPage(QWidget* page);
  void SetExpertPagesVisible(bool visible);
  bool ExpertPagesVisible() const;

  // Runs after every page change, by the user or through ShowPage.
  std::function<void()> onPageChange;
  // Runs once for each page built after the control: the page catches up
  // with the language, the records and the enabling the others were given.
  std::function<void(Page&)> onPageBuilt;

  // The pages are laid out to fit the control's minimum size, which the
  // window never goes below. Without these, every layout pass would measure
  // the text of all fourteen pages, shown or not, for a hint nobody uses.
  QSize sizeHint() const override { return minimumSize(); }
  QSize minimumSizeHint() const override { return minimumSize(); }

 private:
  struct Slot {
    const char* name;
    std::function<Page*()> make;
    Page* page = nullptr;
  };
  int IndexOf(const char* name) const;
  Page* Build(int index);

  bool quiet_ = false;
  std::vector<Slot> slots_;
};

}  // namespace vmx
