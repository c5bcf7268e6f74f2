#include "platform/uikit/UICollectionView.h"

#include "platform/foundation/NSException.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UICollectionReusableView, "UICollectionReusableView", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UICollectionViewCell, "UICollectionViewCell", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UICollectionView, "UICollectionView", nullptr)

UICollectionView::UICollectionView(CGRect frame) : UIScrollView(frame) {}

void UICollectionView::setDataSource(const std::shared_ptr<UICollectionViewDataSource>& dataSource) {
  dataSource_ = dataSource;
  reloadData();
}

void UICollectionView::reloadData() {
  ++reloadCount_;
  itemCounts_.clear();
  std::shared_ptr<UICollectionViewDataSource> source = dataSource_.lock();
  if (source == nullptr) return;
  const std::int64_t sections = source->numberOfSections(*this);
  for (std::int64_t s = 0; s < sections; ++s) itemCounts_.push_back(source->numberOfItemsInSection(*this, s));
}

std::int64_t UICollectionView::numberOfSections() const { return static_cast<std::int64_t>(itemCounts_.size()); }

std::int64_t UICollectionView::numberOfItems(std::int64_t inSection) const {
  if (inSection < 0 || inSection >= numberOfSections()) return 0;
  return itemCounts_[static_cast<std::size_t>(inSection)];
}

void UICollectionView::registerClass(Class cellClass, std::string_view forCellWithReuseIdentifier) {
  cells_.registerClass(cellClass, forCellWithReuseIdentifier);
}

void UICollectionView::registerNib(const std::shared_ptr<UINib>& nib, std::string_view forCellWithReuseIdentifier) {
  cells_.registerNib(nib, forCellWithReuseIdentifier);
}

void UICollectionView::registerClass(Class viewClass, std::string_view forSupplementaryViewOfKind,
                                     std::string_view withReuseIdentifier) {
  supplementary_[std::string(forSupplementaryViewOfKind)].registerClass(viewClass, withReuseIdentifier);
}

void UICollectionView::registerNib(const std::shared_ptr<UINib>& nib, std::string_view forSupplementaryViewOfKind,
                                   std::string_view withReuseIdentifier) {
  supplementary_[std::string(forSupplementaryViewOfKind)].registerNib(nib, withReuseIdentifier);
}

std::shared_ptr<UICollectionViewCell> UICollectionView::dequeueReusableCell(std::string_view withReuseIdentifier,
                                                                            const IndexPath&) {
  const std::string identifier(withReuseIdentifier);
  auto cell = std::static_pointer_cast<UICollectionViewCell>(cells_.make(
      withReuseIdentifier, UICollectionViewCell::classObject(),
      "could not dequeue a view of kind: UICollectionElementKindCell with identifier " + identifier +
          " - must register a nib or a class for the identifier or connect a prototype cell in a storyboard",
      "invalid nib registered for identifier (" + identifier +
          ") - nib must contain exactly one top level object which must be a UICollectionViewCell instance"));
  cell->reuseIdentifier_ = identifier;
  return cell;
}

std::shared_ptr<UICollectionReusableView> UICollectionView::dequeueReusableSupplementaryView(
    std::string_view ofKind, std::string_view withReuseIdentifier, const IndexPath&) {
  const std::string identifier(withReuseIdentifier);
  const std::string unregistered = "could not dequeue a view of kind: " + std::string(ofKind) +
                                   " with identifier " + identifier +
                                   " - must register a nib or a class for the identifier or connect a prototype "
                                   "cell in a storyboard";
  auto kind = supplementary_.find(ofKind);
  if (kind == supplementary_.end()) NSException(NSInternalInconsistencyException, unregistered).raise();
  auto view = std::static_pointer_cast<UICollectionReusableView>(kind->second.make(
      withReuseIdentifier, UICollectionReusableView::classObject(), unregistered,
      "invalid nib registered for identifier (" + identifier +
          ") - nib must contain exactly one top level object which must be a UICollectionReusableView instance"));
  view->reuseIdentifier_ = identifier;
  return view;
}

}  // namespace ios
