// tree_combo_bench: a tree-view combo of 100 roots with 99 children each (10,000 nodes), against
// a QTreeWidget of the same items in the same run.
//
// - A drop with FullExpand, timed until the drop-down and its tree are painted (closed and
//   collapsed again between runs, untimed); the peer: expandAll, shown and painted.
// - Setting the combo's text to the last node's, which finds that node (every other run a
//   text no node has); the peer: findItems of the same texts, recursive, ignoring case.
// - Freeing a combo with its nodes; the peer: freeing the tree widget.
// - The chooser's copy of the nodes into another tree; the peer: cloning the roots into
//   another tree widget.
#include "BenchTiming.h"
#include "ExceptionBarrier.h"
#include "Forms.h"
#include "TreeView.h"
#include "dxBarExtItems.h"
#include "dxBarManager.h"
#include "dxBarRegistry.h"
#include "dxBarTreeViewCombo.h"
#include "dxBarWindowsLibrary.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kRoots = 100;
constexpr int kChildren = 99;
constexpr int kRuns = 30;

struct TFigures {
    TStats drop, match, free, copy;
};

QString NodeText(int root, int child)
{
    return child < 0 ? QStringLiteral("Group %1").arg(root) : QStringLiteral("Node %1.%2").arg(root).arg(child);
}

const QString kLast = NodeText(kRoots - 1, kChildren - 1);

QString MatchText(int run)
{
    return run % 2 ? QStringLiteral("none") : kLast;
}

void Fill(TTreeNodes* nodes)
{
    nodes->BeginUpdate();
    for (int r = 0; r < kRoots; ++r) {
        TTreeNode* root = nodes->Add(nullptr, NodeText(r, -1));
        for (int c = 0; c < kChildren; ++c) nodes->AddChild(root, NodeText(r, c));
    }
    nodes->EndUpdate();
}

void Fill(QTreeWidget& tree)
{
    QList<QTreeWidgetItem*> roots;
    for (int r = 0; r < kRoots; ++r) {
        auto* root = new QTreeWidgetItem(QStringList(NodeText(r, -1)));
        for (int c = 0; c < kChildren; ++c) root->addChild(new QTreeWidgetItem(QStringList(NodeText(r, c))));
        roots.append(root);
    }
    tree.addTopLevelItems(roots);
}

TFigures BenchCombo()
{
    dxBarInitialize();
    TFigures result;
    {
        TdxBarWindowsLibrary library;
        TdxBarExtItemsScope extended;
        TForm form(nullptr);
        auto* manager = new TdxBarManager(&form);
        Q_UNUSED(manager);
        form.SetBounds(100, 100, 400, 300);
        form.Show();
        auto* combo = Create<TdxBarTreeViewCombo>(&form);
        Fill(combo->Items());
        combo->SetFullExpand(true);
        combo->SetDropDownWidth(300);
        combo->SetDropDownHeight(400);
        result.drop = TimeRuns(
            kRuns,
            [&](int) {
                combo->DropDown(QPoint(150, 150), QSize(100, 22), false);
                combo->DropDownWindow()->UpdateWindow();
                combo->TreeView()->TreeWidget()->viewport()->repaint();
            },
            [&] {
                combo->CloseUp();
                combo->TreeView()->FullCollapse();
                QApplication::processEvents();
            });
        result.match = TimeRuns(kRuns * 10, [&](int run) { combo->SetText(MatchText(run)); });
        result.copy = TimePreparedRuns(
            kRuns, [](int) { return std::make_unique<TTreeView>(nullptr); },
            [&](std::unique_ptr<TTreeView>& copy) { copy->Items()->Assign(*combo->Items()); });
        result.free = TimePreparedRuns(
            kRuns,
            [&](int) {
                auto* doomed = Create<TdxBarTreeViewCombo>(&form);
                Fill(doomed->Items());
                return doomed;
            },
            [](TdxBarTreeViewCombo* doomed) { delete doomed; });
    }
    dxBarFinalize();
    return result;
}

TFigures BenchPeer()
{
    TFigures result;
    QTreeWidget tree;
    tree.setHeaderHidden(true);
    tree.setUniformRowHeights(true);
    tree.setGeometry(150, 150, 300, 400);
    Fill(tree);
    result.drop = TimeRuns(
        kRuns,
        [&](int) {
            tree.expandAll();
            tree.show();
            tree.viewport()->repaint();
        },
        [&] {
            tree.hide();
            tree.collapseAll();
            QApplication::processEvents();
        });
    result.match = TimeRuns(kRuns * 10, [&](int run) {
        const QList<QTreeWidgetItem*> found = tree.findItems(MatchText(run), Qt::MatchFixedString | Qt::MatchRecursive);
        Q_UNUSED(found);
    });
    result.copy = TimePreparedRuns(
        kRuns, [](int) { return std::make_unique<QTreeWidget>(); },
        [&](std::unique_ptr<QTreeWidget>& copy) {
            QList<QTreeWidgetItem*> roots;
            for (int i = 0; i < tree.topLevelItemCount(); ++i) roots.append(tree.topLevelItem(i)->clone());
            copy->addTopLevelItems(roots);
        });
    result.free = TimePreparedRuns(
        kRuns,
        [](int) {
            auto* doomed = new QTreeWidget;
            Fill(*doomed);
            return doomed;
        },
        [](QTreeWidget* doomed) { delete doomed; });
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    TQtApplication app(argc, argv);
    const TFigures ours = BenchCombo();
    const TFigures peer = BenchPeer();
    std::printf("tree-view combo of %d nodes (%d runs; the peer: a QTreeWidget of the same items)\n",
                kRoots * (kChildren + 1), kRuns);
    const struct {
        const char* what;
        TStats TFigures::*stat;
        int goal;
    } rows[] = {
        {"FullExpand drop, painted", &TFigures::drop, 50000},
        {"text match, last node   ", &TFigures::match, 2000},
        {"freeing                 ", &TFigures::free, 50000},
        {"chooser's copy          ", &TFigures::copy, 200000},
    };
    for (const auto& row : rows) {
        std::printf("  %s: median %8.1f us  p99 %8.1f us  (goal <= %d us)\n", row.what, (ours.*row.stat).median,
                    (ours.*row.stat).p99, row.goal);
        std::printf("    QTreeWidget peer      : median %8.1f us  p99 %8.1f us\n", (peer.*row.stat).median,
                    (peer.*row.stat).p99);
    }
    return 0;
}
