// File: platform/uikit/UICollectionView.h
//
// Collection views: items in sections from a data source, cells and supplementary
// views registered by class or nib and dequeued by reuse identifier.
//
//   grid->setDataSource(source);
//   grid->registerClass(Tile::classObject(), "Tile");
//   auto tile = grid->dequeueReusableCell("Tile", ios::IndexPath(0, 0));
//
// Fidelity: the same rules as table views (UITableView.h): counts from the data source
// (one section unless it says), read again by reloadData(), the data source not kept,
// and "NSInternalInconsistencyException" for an unregistered identifier or a nib whose
// first object is not of the expected kind. Supplementary views are registered per
// kind. Layouts, cell reuse and selection are absent.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/IndexPath.h"
#include "platform/uikit/UINib.h"
#include "platform/uikit/UIViewSubclasses.h"
#include "platform/uikit/internal/ReuseRegistry.h"

namespace ios {

class UICollectionView;

// The kinds of supplementary views of a flow layout.
inline constexpr const char* UICollectionElementKindSectionHeader = "UICollectionElementKindSectionHeader";
inline constexpr const char* UICollectionElementKindSectionFooter = "UICollectionElementKindSectionFooter";

// UICollectionReusableView
//
// A view a collection view makes from a registration; public default constructor.
class UICollectionReusableView : public UIView {
  IOS_RUNTIME_CLASS(UICollectionReusableView, UIView);

 public:
  UICollectionReusableView() = default;
  // The identifier the view was dequeued with.
  [[nodiscard]] const std::string& reuseIdentifier() const { return reuseIdentifier_; }

 private:
  friend class UICollectionView;
  std::string reuseIdentifier_;
};

// UICollectionViewCell
//
// An item's view.
class UICollectionViewCell : public UICollectionReusableView {
  IOS_RUNTIME_CLASS(UICollectionViewCell, UICollectionReusableView);

 public:
  UICollectionViewCell() = default;
};

// UICollectionViewDataSource
//
// What a collection view asks for its counts.
class UICollectionViewDataSource {
 public:
  virtual ~UICollectionViewDataSource() = default;
  // The number of sections (1 unless overridden).
  [[nodiscard]] virtual std::int64_t numberOfSections(UICollectionView&) { return 1; }
  // The number of items in `section`.
  [[nodiscard]] virtual std::int64_t numberOfItemsInSection(UICollectionView& view, std::int64_t section) = 0;
};

class UICollectionView : public UIScrollView {
  IOS_RUNTIME_CLASS(UICollectionView, UIScrollView);

 public:
  // The data source (not kept); setting it reloads the counts.
  void setDataSource(const std::shared_ptr<UICollectionViewDataSource>& dataSource);
  // Reads the counts from the data source again.
  void reloadData();
  // The number of sections (0 without a data source).
  [[nodiscard]] std::int64_t numberOfSections() const;
  // The number of items of `section`; 0 for a section outside the view.
  [[nodiscard]] std::int64_t numberOfItems(std::int64_t inSection) const;

  // register(_:forCellWithReuseIdentifier:) with a class or a nib (null: forgets it).
  void registerClass(Class cellClass, std::string_view forCellWithReuseIdentifier);
  void registerNib(const std::shared_ptr<UINib>& nib, std::string_view forCellWithReuseIdentifier);
  // register(_:forSupplementaryViewOfKind:withReuseIdentifier:), class or nib.
  void registerClass(Class viewClass, std::string_view forSupplementaryViewOfKind, std::string_view withReuseIdentifier);
  void registerNib(const std::shared_ptr<UINib>& nib, std::string_view forSupplementaryViewOfKind,
                   std::string_view withReuseIdentifier);
  // A cell made from the registration of `withReuseIdentifier`; raises
  // "NSInternalInconsistencyException" when there is none or the nib holds no cell.
  [[nodiscard]] std::shared_ptr<UICollectionViewCell> dequeueReusableCell(std::string_view withReuseIdentifier,
                                                                          const IndexPath& forIndexPath);
  // The same for a supplementary view of `ofKind`.
  [[nodiscard]] std::shared_ptr<UICollectionReusableView> dequeueReusableSupplementaryView(
      std::string_view ofKind, std::string_view withReuseIdentifier, const IndexPath& forIndexPath);

  // How many times reloadData() ran (a test seam, not the platform's).
  [[nodiscard]] std::size_t reloadCount() const { return reloadCount_; }

 protected:
  explicit UICollectionView(CGRect frame = CGRect());

 private:
  std::weak_ptr<UICollectionViewDataSource> dataSource_;
  std::vector<std::int64_t> itemCounts_;
  uikit_internal::ReuseRegistry cells_;
  std::map<std::string, uikit_internal::ReuseRegistry, std::less<>> supplementary_;
  std::size_t reloadCount_ = 0;
};

}  // namespace ios
