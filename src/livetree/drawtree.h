// The owner-drawn tree: its cells are painted by the owner (OnDrawNode, in
// the control), so the model only asks the owner for node widths and cell
// margins.
#pragma once

#include "livetree/basetree.h"

using TLTGetNodeWidthEvent = std::function<void(TBaseLiveTree* sender, TCanvas* hintCanvas, PLiveNode node,
                                                TColumnIndex column, Integer& nodeWidth)>;
using TLTGetCellContentMarginEvent =
    std::function<void(TBaseLiveTree* sender, TCanvas* hintCanvas, PLiveNode node, TColumnIndex column,
                       TLTCellContentMarginType cellContentMarginType, TPoint& cellContentMargin)>;

using TLTDrawNodeEvent = std::function<void(TBaseLiveTree* sender, const TLTPaintInfo& paintInfo)>;

class TCustomLiveDrawTree : public TBaseLiveTree {
 public:
  using TBaseLiveTree::TBaseLiveTree;

  // 2 × TextMargin unless OnGetNodeWidth says otherwise.
  Integer MeasureNodeWidth(PLiveNode node, TColumnIndex column, TCanvas* canvas = nullptr) override;

  // The owner paints the cell.
  void PaintNodeCell(ILiveTreeCanvas&, TLTPaintInfo& info) override {
    if (OnDrawNode) OnDrawNode(this, info);
  }

  TLTDrawNodeEvent OnDrawNode;
  TLTGetNodeWidthEvent OnGetNodeWidth;
  TLTGetCellContentMarginEvent OnGetCellContentMargin;

 protected:
  TPoint QueryCellContentMargin(PLiveNode node, TColumnIndex column, TLTCellContentMarginType marginType,
                                TCanvas* canvas) override;
};

class TLiveDrawTree : public TCustomLiveDrawTree {
 public:
  using TCustomLiveDrawTree::TCustomLiveDrawTree;
};
