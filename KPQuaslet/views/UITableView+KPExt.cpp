#include "KPQuaslet/views/UITableView+KPExt.h"

#include "platform/foundation/Bundle.h"
#include "platform/uikit/UINib.h"
#include "platform/uikit/UIView.h"

namespace kp {
namespace {

// The bundle of `identifier`; null (the main bundle) when absent or unknown.
const ios::Bundle* bundleFor(const std::optional<std::string>& identifier) {
  return identifier ? ios::Bundle::forIdentifier(*identifier) : nullptr;
}

// The sum of `count(view, section)` over the view's sections.
template <class View, class Count>
std::int64_t total(const View& view, Count count) {
  std::int64_t sum = 0;
  for (std::int64_t s = 0; s < view.numberOfSections(); ++s) sum += count(view, s);
  return sum;
}

template <class View>
std::int64_t lastSectionOf(const View& view) {
  return view.numberOfSections() > 0 ? view.numberOfSections() - 1 : 0;
}

}  // namespace

std::string className(ios::Class cls) {
  const std::string name = ios::NSStringFromClass(cls);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(dot + 1);
}

void registerNib(ios::UITableView& table, std::string_view nibName, std::string_view cellIdentifier,
                 const std::optional<std::string>& bundleIdentifier) {
  table.registerNib(ios::UINib::make(nibName, bundleFor(bundleIdentifier)), cellIdentifier);
}

void registerNib(ios::UITableView& table, ios::Class cellClass, std::string_view cellIdentifier,
                 const std::optional<std::string>& bundleIdentifier) {
  registerNib(table, className(cellClass), cellIdentifier, bundleIdentifier);
}

std::shared_ptr<ios::UITableViewCell> cell(ios::UITableView& table, const IndexPath& path) {
  return table.dequeueReusableCell(defaultCellIdentifier<ios::UITableView>, path);
}

std::shared_ptr<ios::UITableViewCell> cell(ios::UITableView& table, const IndexPath& path,
                                           std::string_view identifier) {
  return table.dequeueReusableCell(identifier, path);
}

std::int64_t numberOfRows(const ios::UITableView& table) {
  return total(table, [](const ios::UITableView& t, std::int64_t s) { return t.numberOfRows(s); });
}

std::int64_t lastSection(const ios::UITableView& table) { return lastSectionOf(table); }

std::optional<IndexPath> indexPathForLastRow(const ios::UITableView& table) {
  if (numberOfRows(table) == 0) return std::nullopt;
  return indexPathForLastRow(table, lastSection(table));
}

std::optional<IndexPath> indexPathForLastRow(const ios::UITableView& table, std::int64_t section) {
  // A section the table does not have has no last row to point at.
  if (section < 0 || section >= table.numberOfSections()) return std::nullopt;
  return IndexPath(table.numberOfRows(section) - 1, section);
}

void removeTableFooterView(ios::UITableView& table) { table.setTableFooterView(ios::UIView::make(ios::CGRect())); }

void removeTableHeaderView(ios::UITableView& table) { table.setTableHeaderView(ios::UIView::make(ios::CGRect())); }

void scrollToBottom(ios::UITableView& table, bool animated) {
  table.setContentOffset(ios::CGPoint(0, table.contentSize().height - table.bounds().size.height), animated);
}

void scrollToTop(ios::UITableView& table, bool animated) { table.setContentOffset(ios::CGPoint(0, 0), animated); }

void safeScrollToRow(ios::UITableView& table, const IndexPath& path, ios::UITableViewScrollPosition position,
                     bool animated) {
  // Negative numbers name no row either: the table would raise for them.
  if (path.section < 0 || path.row < 0) return;
  if (path.section >= table.numberOfSections() || path.row >= table.numberOfRows(path.section)) return;
  table.scrollToRow(path, position, animated);
}

void registerNib(ios::UICollectionView& view, std::string_view nibName, std::string_view cellIdentifier,
                 const std::optional<std::string>& bundleIdentifier) {
  view.registerNib(ios::UINib::make(nibName, bundleFor(bundleIdentifier)), cellIdentifier);
}

std::shared_ptr<ios::UICollectionViewCell> cell(ios::UICollectionView& view, const IndexPath& path) {
  return view.dequeueReusableCell(defaultCellIdentifier<ios::UICollectionView>, path);
}

std::shared_ptr<ios::UICollectionViewCell> cell(ios::UICollectionView& view, const IndexPath& path,
                                                std::string_view identifier) {
  return view.dequeueReusableCell(identifier, path);
}

std::int64_t numberOfItems(const ios::UICollectionView& view) {
  return total(view, [](const ios::UICollectionView& v, std::int64_t s) { return v.numberOfItems(s); });
}

std::int64_t lastSection(const ios::UICollectionView& view) { return lastSectionOf(view); }

std::optional<IndexPath> indexPathForLastItem(const ios::UICollectionView& view) {
  return indexPathForLastItem(view, lastSection(view));
}

std::optional<IndexPath> indexPathForLastItem(const ios::UICollectionView& view, std::int64_t section) {
  if (section < 0 || section >= view.numberOfSections()) return std::nullopt;
  const std::int64_t items = view.numberOfItems(section);
  return IndexPath(items > 0 ? items - 1 : 0, section);
}

void reloadData(ios::UICollectionView& view, std::function<void()> completion) {
  // The view and the closure stay alive until the completion has run.
  auto self = std::static_pointer_cast<ios::UICollectionView>(view.shared_from_this());
  ios::UIView::animate(
      0, [self] { self->reloadData(); },
      [self, completion = std::move(completion)](bool) {
        if (completion) completion();
      });
}

}  // namespace kp
