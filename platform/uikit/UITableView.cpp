#include "platform/uikit/UITableView.h"

#include <numeric>

#include "platform/foundation/NSException.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UITableViewCell, "UITableViewCell", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UITableView, "UITableView", nullptr)

UITableView::UITableView(CGRect frame) : UIScrollView(frame) {}

void UITableView::setDataSource(const std::shared_ptr<UITableViewDataSource>& dataSource) {
  dataSource_ = dataSource;
  reloadData();
}

void UITableView::reloadData() {
  rowCounts_.clear();
  std::shared_ptr<UITableViewDataSource> source = dataSource_.lock();
  if (source == nullptr) return;
  const std::int64_t sections = source->numberOfSections(*this);
  for (std::int64_t s = 0; s < sections; ++s) rowCounts_.push_back(source->numberOfRowsInSection(*this, s));
  setContentSize(CGSize(bounds().size.width, static_cast<CGFloat>(std::accumulate(
                                                 rowCounts_.begin(), rowCounts_.end(), std::int64_t{0})) *
                                                 rowHeight));
}

std::int64_t UITableView::numberOfSections() const { return static_cast<std::int64_t>(rowCounts_.size()); }

std::int64_t UITableView::numberOfRows(std::int64_t inSection) const {
  if (inSection < 0 || inSection >= numberOfSections()) return 0;
  return rowCounts_[static_cast<std::size_t>(inSection)];
}

void UITableView::registerClass(Class cellClass, std::string_view forCellReuseIdentifier) {
  cells_.registerClass(cellClass, forCellReuseIdentifier);
}

void UITableView::registerNib(const std::shared_ptr<UINib>& nib, std::string_view forCellReuseIdentifier) {
  cells_.registerNib(nib, forCellReuseIdentifier);
}

std::shared_ptr<UITableViewCell> UITableView::dequeueReusableCell(std::string_view withIdentifier,
                                                                  const IndexPath&) {
  const std::string identifier(withIdentifier);
  id made = cells_.make(withIdentifier, UITableViewCell::classObject(),
                        "unable to dequeue a cell with identifier " + identifier +
                            " - must register a nib or a class for the identifier or connect a prototype cell "
                            "in a storyboard",
                        "invalid nib registered for identifier (" + identifier +
                            ") - nib must contain exactly one top level object which must be a UITableViewCell "
                            "instance");
  auto cell = std::static_pointer_cast<UITableViewCell>(made);
  cell->reuseIdentifier_ = identifier;
  return cell;
}

void UITableView::scrollToRow(const IndexPath& at, UITableViewScrollPosition, bool animated) {
  if (at.section < 0 || at.section >= numberOfSections() || at.row < 0 || at.row >= numberOfRows(at.section)) {
    NSException("NSRangeException", "Attempted to scroll the table view to an out-of-bounds row (" +
                                         std::to_string(at.row) + ") when there are only " +
                                         std::to_string(numberOfRows(at.section)) + " rows in section " +
                                         std::to_string(at.section) + ".")
        .raise();
  }
  std::int64_t before = 0;
  for (std::int64_t s = 0; s < at.section; ++s) before += numberOfRows(s);
  setContentOffset(CGPoint(0, static_cast<CGFloat>(before + at.row) * rowHeight), animated);
}

}  // namespace ios
