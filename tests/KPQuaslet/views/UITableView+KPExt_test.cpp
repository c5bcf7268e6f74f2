#include "KPQuaslet/views/UITableView+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/NSException.h"
#include "platform/testing/PlatformFixture.h"

namespace {

using ios::IndexPath;
using ios::UITableViewScrollPosition;

class NoteCell : public ios::UITableViewCell {
  IOS_RUNTIME_CLASS(NoteCell, ios::UITableViewCell);

 public:
  NoteCell() = default;
};
IOS_DEFINE_RUNTIME_CLASS(NoteCell, "App.NoteCell", nullptr)

class Tile : public ios::UICollectionViewCell {
  IOS_RUNTIME_CLASS(Tile, ios::UICollectionViewCell);

 public:
  Tile() = default;
};
IOS_DEFINE_RUNTIME_CLASS(Tile, "Tile", nullptr)

class Header : public ios::UICollectionReusableView {
  IOS_RUNTIME_CLASS(Header, ios::UICollectionReusableView);

 public:
  Header() = default;
};
IOS_DEFINE_RUNTIME_CLASS(Header, "Header", nullptr)

// Sections with the given counts.
struct Counts : ios::UITableViewDataSource, ios::UICollectionViewDataSource {
  std::vector<std::int64_t> counts;
  explicit Counts(std::vector<std::int64_t> c) : counts(std::move(c)) {}
  std::int64_t numberOfSections(ios::UITableView&) override { return static_cast<std::int64_t>(counts.size()); }
  std::int64_t numberOfRowsInSection(ios::UITableView&, std::int64_t s) override {
    return counts[static_cast<std::size_t>(s)];
  }
  std::int64_t numberOfSections(ios::UICollectionView&) override { return static_cast<std::int64_t>(counts.size()); }
  std::int64_t numberOfItemsInSection(ios::UICollectionView&, std::int64_t s) override {
    return counts[static_cast<std::size_t>(s)];
  }
};

class UITableViewKPExt : public ios::testing::PlatformFixture {
 protected:
  ios::testing::ManualDispatch dispatch;
  std::shared_ptr<ios::UITableView> table = ios::UITableView::make(ios::CGRect(0, 0, 320, 200));
  std::shared_ptr<ios::UICollectionView> grid = ios::UICollectionView::make(ios::CGRect(0, 0, 320, 200));

  std::shared_ptr<Counts> fill(std::vector<std::int64_t> counts) {
    auto source = std::make_shared<Counts>(std::move(counts));
    table->setDataSource(source);
    grid->setDataSource(source);
    return source;
  }
};

TEST_F(UITableViewKPExt, CountsAndLastIndexPaths) {
  struct Row {
    const char* name;
    std::vector<std::int64_t> counts;
    std::int64_t rows, last;
    std::optional<IndexPath> lastRow, lastItem;
  };
  const Row rows[] = {
      {"three sections", {3, 0, 2}, 5, 2, IndexPath(1, 2), IndexPath(1, 2)},
      {"empty last section", {3, 0}, 3, 1, IndexPath(-1, 1), IndexPath(0, 1)},
      {"no rows", {0, 0}, 0, 1, std::nullopt, IndexPath(0, 1)},
      {"no sections", {}, 0, 0, std::nullopt, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto source = fill(row.counts);
    EXPECT_EQ(kp::numberOfRows(*table), row.rows);
    EXPECT_EQ(kp::numberOfItems(*grid), row.rows);
    EXPECT_EQ(kp::lastSection(*table), row.last);
    EXPECT_EQ(kp::lastSection(*grid), row.last);
    EXPECT_EQ(kp::indexPathForLastRow(*table), row.lastRow);
    EXPECT_EQ(kp::indexPathForLastItem(*grid), row.lastItem);
  }
  fill({3, 0});
  EXPECT_EQ(kp::indexPathForLastRow(*table, 0), IndexPath(2, 0));
  // Sections outside the table or the grid have no last row.
  for (std::int64_t outside : {std::int64_t{-1}, std::int64_t{2}}) {
    EXPECT_EQ(kp::indexPathForLastRow(*table, outside), std::nullopt);
    EXPECT_EQ(kp::indexPathForLastItem(*grid, outside), std::nullopt);
  }
}

TEST_F(UITableViewKPExt, SafeScrollingOnlyReachesExistingRows) {
  auto source = fill({3, 2});
  kp::safeScrollToRow(*table, IndexPath(1, 1), UITableViewScrollPosition::top, false);
  EXPECT_EQ(table->contentOffset(), ios::CGPoint(0, 4 * 44));
  for (IndexPath outside : {IndexPath(2, 1), IndexPath(0, 2), IndexPath(-1, 0), IndexPath(0, -1)}) {
    SCOPED_TRACE(::testing::PrintToString(outside));
    EXPECT_NO_THROW(kp::safeScrollToRow(*table, outside, UITableViewScrollPosition::top, false));
    EXPECT_THROW(table->scrollToRow(outside, UITableViewScrollPosition::top, false), ios::NSException);
  }
  EXPECT_EQ(table->contentOffset(), ios::CGPoint(0, 4 * 44));

  // Five rows of 44 in a view of 200: the bottom is 20 below the top; with one row the
  // offset is negative and passed on as it is.
  kp::scrollToBottom(*table, false);
  EXPECT_EQ(table->contentOffset(), ios::CGPoint(0, 20));
  kp::scrollToTop(*table, true);
  EXPECT_EQ(table->contentOffset(), ios::CGPoint(0, 0));
  source->counts = {1};
  table->reloadData();
  kp::scrollToBottom(*table, false);
  EXPECT_EQ(table->contentOffset(), ios::CGPoint(0, -156));
}

TEST_F(UITableViewKPExt, RegistrationAndDequeueByClassAndByNib) {
  // Unregistered identifiers raise, as the platform does.
  EXPECT_THROW((void)kp::cell(*table, IndexPath(0, 0)), ios::NSException);
  EXPECT_THROW((void)kp::cell(*grid, IndexPath(0, 0)), ios::NSException);

  table->registerClass(NoteCell::classObject(), kp::defaultCellIdentifier<ios::UITableView>);
  auto byClass = kp::cell(*table, IndexPath(0, 0));
  EXPECT_NE(std::dynamic_pointer_cast<NoteCell>(byClass), nullptr);
  EXPECT_EQ(byClass->reuseIdentifier(), "Cell");

  // The nib is named after the class without its module; an unknown bundle is the main one.
  EXPECT_EQ(kp::className(NoteCell::classObject()), "NoteCell");
  int made = 0;
  ios::testing::registerNib("NoteCell", [&made] {
    ++made;
    return std::vector<ios::id>{NoteCell::make()};
  });
  kp::registerNib(*table, NoteCell::classObject(), "Note", std::string("com.unknown"));
  EXPECT_NE(std::dynamic_pointer_cast<NoteCell>(kp::cell(*table, IndexPath(0, 0), "Note")), nullptr);
  EXPECT_EQ(made, 1);
  ios::testing::registerNib("Plain", [] { return std::vector<ios::id>{ios::UIView::make()}; });
  kp::registerNib(*table, "Plain", "Plain", std::nullopt);
  EXPECT_THROW((void)kp::cell(*table, IndexPath(0, 0), "Plain"), ios::NSException);

  kp::registerCellWithClass<Tile>(*grid);
  EXPECT_NE(kp::dequeueReusableCell<Tile>(*grid, IndexPath(0, 0)), nullptr);
  grid->registerClass(ios::UICollectionViewCell::classObject(), "Tile");  // another class under Tile's name
  EXPECT_EQ(kp::dequeueReusableCell<Tile>(*grid, IndexPath(0, 0)), nullptr);
  kp::registerNibForCellWithClass<Tile>(*grid, nullptr);  // forgets it
  EXPECT_THROW((void)kp::dequeueReusableCell<Tile>(*grid, IndexPath(0, 0)), ios::NSException);

  ios::testing::registerNib("Tiles", [] { return std::vector<ios::id>{Tile::make()}; });
  kp::registerNib(*grid, "Tiles", "Cell", std::nullopt);
  EXPECT_NE(std::dynamic_pointer_cast<Tile>(kp::cell(*grid, IndexPath(0, 0))), nullptr);

  kp::registerSupplementaryViewOfKind<Header>(*grid, ios::UICollectionElementKindSectionHeader);
  EXPECT_NE(kp::dequeueReusableSupplementaryView<Header>(*grid, ios::UICollectionElementKindSectionHeader,
                                                         IndexPath(0, 0)),
            nullptr);
  EXPECT_THROW((void)kp::dequeueReusableSupplementaryView<Header>(*grid, ios::UICollectionElementKindSectionFooter,
                                                                  IndexPath(0, 0)),
               ios::NSException);
  ios::testing::registerNib("Header", [] { return std::vector<ios::id>{Header::make()}; });
  kp::registerNibForSupplementaryViewOfKind<Header>(*grid, ios::UINib::make(std::string_view("Header"), static_cast<const ios::Bundle*>(nullptr)),
                                                    ios::UICollectionElementKindSectionFooter);
  EXPECT_NE(kp::dequeueReusableSupplementaryView<Header>(*grid, ios::UICollectionElementKindSectionFooter,
                                                         IndexPath(0, 0)),
            nullptr);
}

TEST_F(UITableViewKPExt, HeaderFooterRemovalAndReloadCompletion) {
  table->setTableHeaderView(ios::UIView::make(ios::CGRect(0, 0, 320, 40)));
  kp::removeTableHeaderView(*table);
  kp::removeTableFooterView(*table);
  EXPECT_EQ(table->tableHeaderView()->frame(), ios::CGRect());
  EXPECT_EQ(table->tableFooterView()->frame(), ios::CGRect());

  auto source = fill({1});
  source->counts = {4, 4};
  std::vector<std::int64_t> seen;
  std::weak_ptr<ios::UICollectionView> weakGrid = grid;
  kp::reloadData(*grid, [&] { seen.push_back(kp::numberOfItems(*weakGrid.lock())); });
  grid.reset();  // the reload keeps the view until its completion has run
  EXPECT_TRUE(seen.empty());
  dispatch.runPending();
  EXPECT_THAT(seen, ::testing::ElementsAre(8));
  dispatch.runPending();
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(weakGrid.lock(), nullptr);
}

}  // namespace
