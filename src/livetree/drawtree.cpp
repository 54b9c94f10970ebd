#include "livetree/drawtree.h"

Integer TCustomLiveDrawTree::MeasureNodeWidth(PLiveNode node, TColumnIndex column, TCanvas* canvas) {
  Integer width = 2 * TextMargin();
  if (OnGetNodeWidth) OnGetNodeWidth(this, canvas != nullptr ? canvas : Host()->Canvas(), node, column, width);
  return width;
}

TPoint TCustomLiveDrawTree::QueryCellContentMargin(PLiveNode node, TColumnIndex column,
                                                   TLTCellContentMarginType marginType, TCanvas* canvas) {
  TPoint margin;
  if (OnGetCellContentMargin)
    OnGetCellContentMargin(this, canvas != nullptr ? canvas : Host()->Canvas(), node, column, marginType, margin);
  return margin;
}
