// File: platform/uikit/UITableView.h
//
// Table views: rows in sections from a data source, cells registered by class or nib
// and dequeued by reuse identifier.
//
//   table->setDataSource(source);
//   table->registerClass(MyCell::classObject(), "Cell");
//   auto cell = table->dequeueReusableCell("Cell", ios::IndexPath(0, 0));
//
// Fidelity: kept are the platform's rules: counts come from the data source (one
// section when it does not say) and are read again by reloadData(); the data source is
// not kept; dequeuing an identifier nothing is registered for raises
// "NSInternalInconsistencyException", and so does a nib whose first object is not a
// cell; scrolling to a row outside the data raises "NSRangeException". Rows are
// rowHeight (44) points high, so scrolling to a row moves the content offset to it.
// Cells are made afresh (no reuse queue); a registered class must have a public
// default constructor. Editing, selection, cell drawing and estimated heights are absent.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>
#include <memory>
#include <string>
#include <string_view>

#include "platform/foundation/IndexPath.h"
#include "platform/uikit/UINib.h"
#include "platform/uikit/internal/ReuseRegistry.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace ios {

class UITableView;

// UITableViewCell
//
// A row's view. Tables make registered cell classes themselves, so a cell class has a
// public default constructor.
class UITableViewCell : public UIView {
  IOS_RUNTIME_CLASS(UITableViewCell, UIView);

 public:
  UITableViewCell() = default;
  // The identifier the cell was dequeued with (empty for a cell made by hand).
  [[nodiscard]] const std::string& reuseIdentifier() const { return reuseIdentifier_; }

 private:
  friend class UITableView;
  std::string reuseIdentifier_;
};

// UITableViewDataSource
//
// What a table asks for its counts.
class UITableViewDataSource {
 public:
  virtual ~UITableViewDataSource() = default;
  // The number of sections (1 unless overridden).
  [[nodiscard]] virtual std::int64_t numberOfSections(UITableView&) { return 1; }
  // The number of rows in `section`.
  [[nodiscard]] virtual std::int64_t numberOfRowsInSection(UITableView& table, std::int64_t section) = 0;
};

// Where scrollToRow() puts the row.
enum class UITableViewScrollPosition : std::int64_t { none = 0, top = 1, middle = 2, bottom = 3 };

class UITableView : public UIScrollView {
  IOS_RUNTIME_CLASS(UITableView, UIScrollView);

 public:
  // The height of a row in points.
  static constexpr CGFloat rowHeight = 44;

  // The data source (not kept by the table); setting it reloads the counts.
  void setDataSource(const std::shared_ptr<UITableViewDataSource>& dataSource);
  // Reads the counts from the data source again.
  void reloadData();
  // The number of sections (0 without a data source).
  [[nodiscard]] std::int64_t numberOfSections() const;
  // The number of rows of `section`; 0 for a section outside the table.
  [[nodiscard]] std::int64_t numberOfRows(std::int64_t inSection) const;

  // register(_:forCellReuseIdentifier:) with a cell class (null: forgets the identifier).
  void registerClass(Class cellClass, std::string_view forCellReuseIdentifier);
  // register(_:forCellReuseIdentifier:) with a nib (null: forgets the identifier).
  void registerNib(const std::shared_ptr<UINib>& nib, std::string_view forCellReuseIdentifier);
  // dequeueReusableCell(withIdentifier:for:)
  //
  // A cell of the class or nib registered for `identifier`. Raises
  // "NSInternalInconsistencyException" when nothing is registered for it, or when the
  // nib's first object is not a cell.
  [[nodiscard]] std::shared_ptr<UITableViewCell> dequeueReusableCell(std::string_view withIdentifier,
                                                                     const IndexPath& forIndexPath);

  // scrollToRow(at:at:animated:): raises "NSRangeException" for a path outside the data.
  void scrollToRow(const IndexPath& at, UITableViewScrollPosition position, bool animated);

  // The views above the first and below the last row, or null.
  [[nodiscard]] std::shared_ptr<UIView> tableHeaderView() const { return header_; }
  void setTableHeaderView(std::shared_ptr<UIView> view) { header_ = std::move(view); }
  [[nodiscard]] std::shared_ptr<UIView> tableFooterView() const { return footer_; }
  void setTableFooterView(std::shared_ptr<UIView> view) { footer_ = std::move(view); }

 protected:
  explicit UITableView(CGRect frame = CGRect());

 private:
  std::weak_ptr<UITableViewDataSource> dataSource_;
  std::vector<std::int64_t> rowCounts_;
  uikit_internal::ReuseRegistry cells_;
  std::shared_ptr<UIView> header_;
  std::shared_ptr<UIView> footer_;
};

}  // namespace ios
