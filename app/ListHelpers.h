// The routines every list and tree of the editors shares.
#pragma once

namespace platform {
class ListView;
class TreeView;
} // namespace platform

namespace modCellarix {

// Fits columns 2.. of `List` to their widest text plus 20 pixels and gives the first column
// the rest of the list's width (or its own widest text plus 20 pixels when nothing is left).
void AutoSizeColumns(platform::ListView* List);

// Sorts `List` by the column at 1-based position `Column`: ascending, or descending when the
// same column was last sorted ascending. `Reset` forces ascending.
void SortByColumn(platform::ListView* List, int Column, bool Reset);

// Fills `Tree` with the ingredient tree: a root "Ingredients", the top-level ingredients under
// it and every other ingredient under its parent.
void FillIngredientTree(platform::TreeView* Tree);

} // namespace modCellarix
