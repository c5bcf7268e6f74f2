// File: KPQuaslet/views/UITableView+KPExt.h
//
// Table- and collection-view conveniences: nib registration by name or class, the
// default "Cell" identifier, counts, last index paths, safe scrolling, and class-keyed
// registration and dequeuing.
//
//   kp::registerNib(*table, MyCell::classObject(), "Cell", std::nullopt);  // nib "MyCell"
//   auto last = kp::indexPathForLastRow(*table);                          // nothing when empty
//   kp::safeScrollToRow(*table, path, ios::UITableViewScrollPosition::top, true);
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/IndexPath.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UITableView.h"

namespace kp {

using ios::IndexPath;

// The reuse identifier the cell lookups use when given none: "Cell".
template <class View>
inline constexpr std::string_view defaultCellIdentifier = "Cell";

// The class's runtime name without its module ("App.MyCell" gives "MyCell").
[[nodiscard]] std::string className(ios::Class cls);

// ---- Table views ------------------------------------------------------------------

// Registers the nib `nibName`, looked up in the bundle of `bundleIdentifier` (the main
// bundle when absent or unknown), for `cellIdentifier`.
void registerNib(ios::UITableView& table, std::string_view nibName, std::string_view cellIdentifier,
                 const std::optional<std::string>& bundleIdentifier);
// The same with the nib named after the class (className()).
void registerNib(ios::UITableView& table, ios::Class cellClass, std::string_view cellIdentifier,
                 const std::optional<std::string>& bundleIdentifier);
// A cell dequeued for `path` with the default identifier, or with `identifier`. Raises
// as dequeuing does for an unregistered identifier.
[[nodiscard]] std::shared_ptr<ios::UITableViewCell> cell(ios::UITableView& table, const IndexPath& path);
[[nodiscard]] std::shared_ptr<ios::UITableViewCell> cell(ios::UITableView& table, const IndexPath& path,
                                                         std::string_view identifier);
// The number of rows of every section together.
[[nodiscard]] std::int64_t numberOfRows(const ios::UITableView& table);
// The index of the last section; 0 without sections.
[[nodiscard]] std::int64_t lastSection(const ios::UITableView& table);
// The last row of the last section; nothing when the table has no rows. When that
// section is empty the row is -1.
[[nodiscard]] std::optional<IndexPath> indexPathForLastRow(const ios::UITableView& table);
// The last row of `section` (row -1 when it is empty); nothing for a section outside
// the table.
[[nodiscard]] std::optional<IndexPath> indexPathForLastRow(const ios::UITableView& table, std::int64_t section);
// Replaces the footer / header with an empty view of zero frame.
void removeTableFooterView(ios::UITableView& table);
void removeTableHeaderView(ios::UITableView& table);
// Scrolls so that the end of the content meets the bottom of the view (a negative
// offset when the content is shorter than the view).
void scrollToBottom(ios::UITableView& table, bool animated);
// Scrolls to the top-left of the content.
void scrollToTop(ios::UITableView& table, bool animated);
// Scrolls to `path` only when it names an existing row; otherwise nothing happens.
void safeScrollToRow(ios::UITableView& table, const IndexPath& path, ios::UITableViewScrollPosition position,
                     bool animated);

// ---- Collection views -------------------------------------------------------------

// Registers the nib `nibName` for cells of `cellIdentifier`, bundle as for tables.
void registerNib(ios::UICollectionView& view, std::string_view nibName, std::string_view cellIdentifier,
                 const std::optional<std::string>& bundleIdentifier);
// A cell dequeued for `path` with the default identifier, or with `identifier`.
[[nodiscard]] std::shared_ptr<ios::UICollectionViewCell> cell(ios::UICollectionView& view, const IndexPath& path);
[[nodiscard]] std::shared_ptr<ios::UICollectionViewCell> cell(ios::UICollectionView& view, const IndexPath& path,
                                                              std::string_view identifier);
// The number of items of every section together.
[[nodiscard]] std::int64_t numberOfItems(const ios::UICollectionView& view);
// The index of the last section; 0 without sections.
[[nodiscard]] std::int64_t lastSection(const ios::UICollectionView& view);
// The last item of the last section; nothing without sections.
[[nodiscard]] std::optional<IndexPath> indexPathForLastItem(const ios::UICollectionView& view);
// The last item of `section` (item 0 when it is empty); nothing for a section outside
// the view.
[[nodiscard]] std::optional<IndexPath> indexPathForLastItem(const ios::UICollectionView& view, std::int64_t section);
// Reloads the data, then calls `completion` (may be empty) on the main queue's next turn.
void reloadData(ios::UICollectionView& view, std::function<void()> completion);

// Registers T for cells with T's class name as identifier.
template <class T>
void registerCellWithClass(ios::UICollectionView& view) {
  view.registerClass(T::classObject(), className(T::classObject()));
}
// Registers `nib` (null: forgets the registration) for cells with T's class name.
template <class T>
void registerNibForCellWithClass(ios::UICollectionView& view, const std::shared_ptr<ios::UINib>& nib) {
  view.registerNib(nib, className(T::classObject()));
}
// Registers T for supplementary views of `kind` with T's class name.
template <class T>
void registerSupplementaryViewOfKind(ios::UICollectionView& view, std::string_view kind) {
  view.registerClass(T::classObject(), kind, className(T::classObject()));
}
// Registers `nib` for supplementary views of `kind` with T's class name.
template <class T>
void registerNibForSupplementaryViewOfKind(ios::UICollectionView& view, const std::shared_ptr<ios::UINib>& nib,
                                           std::string_view kind) {
  view.registerNib(nib, kind, className(T::classObject()));
}
// Dequeues a cell with T's class name; null when the cell made is not a T. Raises as
// dequeuing does when nothing is registered.
template <class T>
[[nodiscard]] std::shared_ptr<T> dequeueReusableCell(ios::UICollectionView& view, const IndexPath& path) {
  return std::dynamic_pointer_cast<T>(view.dequeueReusableCell(className(T::classObject()), path));
}
// The same for a supplementary view of `kind`.
template <class T>
[[nodiscard]] std::shared_ptr<T> dequeueReusableSupplementaryView(ios::UICollectionView& view, std::string_view kind,
                                                                  const IndexPath& path) {
  return std::dynamic_pointer_cast<T>(
      view.dequeueReusableSupplementaryView(kind, className(T::classObject()), path));
}

}  // namespace kp
