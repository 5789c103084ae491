#include "ListHelpers.h"

#include "frmMain.h"
#include "store/modCellarix.h"

#include "platform/Events.h"
#include "platform/Fonts.h"
#include "platform/ListView.h"
#include "platform/TreeView.h"
#include "platform/Twips.h"

#include <cmath>
#include <vector>

namespace modCellarix {

namespace {
// Widths are measured in the toolbox's font, in whole twips (halves to even).
int MeasureTwips(const QString& text)
{
    return int(
        std::nearbyint(platform::TextWidthTwips(frmMain::Instance()->picToolbox->font(), text)));
}
} // namespace

void AutoSizeColumns(platform::ListView* List)
{
    // The list keeps its widest texts up to date as rows change, so only the rows that changed
    // since the last call are measured. The first column's widest text matters only when the
    // others leave it no room, so only then is it measured.
    const QFont font = frmMain::Instance()->picToolbox->font();
    const int n = List->ColumnCount();
    const int margin = int(std::lround(20 * platform::TwipsPerPixelX()));
    std::vector<int> W(size_t(n) + 1, 0);
    int others = 0;
    for (int i = 2; i <= n; ++i) {
        W[i] = qMax(MeasureTwips(List->ColumnHeader(i)), List->WidestText(i, font)) + margin;
        List->SetColumnWidth(i, W[i]);
        others += W[i];
    }
    const int rest = List->OuterWidth() - 315 - others;
    if (rest < 1)
        W[1] = List->WidestText(1, font) + margin;
    List->SetColumnWidth(1, rest < 1 ? W[1] : rest);
}

void SortByColumn(platform::ListView* List, int Column, bool Reset)
{
    if (Reset)
        for (int i = 1; i <= List->ColumnCount(); ++i)
            List->SetColumnTag(i, QString());
    platform::SetBusyPointer(true);
    List->SetSorted(false);
    const bool descending = List->ColumnTag(Column) == QLatin1String("ASC");
    for (int i = 1; i <= List->ColumnCount(); ++i)
        List->SetColumnTag(i, QString());
    List->SetColumnTag(Column, descending ? QStringLiteral("DSC") : QStringLiteral("ASC"));
    List->SetSortOrder(descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    List->SetSortKey(Column - 1);
    List->SetSorted(true);
    platform::SetBusyPointer(false);
}

void FillIngredientTree(platform::TreeView* Tree)
{
    for (int position = Tree->Count(); position >= 1; --position) {
        if (platform::TreeNode* node = Tree->Node(position))
            Tree->Remove(node->Key());
        platform::ProcessPendingEvents();
    }
    const QString& root = Ingredient::TreeRootName;
    platform::TreeNode* rootNode = Tree->Add(QString(), root, root);
    Tree->SetExpanded(rootNode, true);
    Tree->SetSorted(rootNode, true);

    // Each ingredient under its parent's name (top-level ones under the empty name), in
    // collection order.
    QHash<QString, QList<platform::TreeView::NewNode>> childrenOf;
    for (const auto& ingredient : colIngredients) {
        const QString name = ingredient->Name();
        childrenOf[ingredient->ParentItem().toCaseFolded()].append({name, name});
    }

    // The tree is filled from the root down, each node's children in one step, so a
    // sub-ingredient stored before its parent (possible in a file, never made by the editor)
    // still finds it. The root and the top-level nodes keep their children in alphabetical
    // order; deeper levels keep the collection order.
    // An ingredient whose parent is named as the root hangs under the root as well.
    QList<platform::TreeNode*> level = Tree->AddChildren(
        root, childrenOf.value(QString()) + childrenOf.value(root.toCaseFolded()));
    for (platform::TreeNode* node : level)
        Tree->SetSorted(node, true);
    while (!level.isEmpty()) {
        QList<platform::TreeNode*> next;
        for (const platform::TreeNode* parent : level)
            next +=
                Tree->AddChildren(parent->Key(), childrenOf.value(parent->Key().toCaseFolded()));
        level = next;
    }
}

} // namespace modCellarix
