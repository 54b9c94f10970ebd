// The string tree: a tree whose cells show texts that the owner supplies
// through OnGetText. It measures texts (with a per-node width cache), shortens
// them, computes multi-line heights, compares for incremental search, builds
// node paths, restores a selection by text after a refill, carries node
// captions in the tree stream and exports its content as text, CSV, HTML and
// RTF. Painting belongs to the control.
#pragma once

#include <memory>

#include "livetree/basetree.h"
#include "livetree/livetreeexport.h"
#include "rtl/stringlist.h"

enum TLTStringOption : std::uint8_t { toSaveCaptions, toShowStaticText, toAutoAcceptEditChange };
using TLTStringOptions = TLTSet<TLTStringOption, std::uint8_t>;

constexpr TLTStringOptions DefaultStringOptions{toSaveCaptions, toAutoAcceptEditChange};

enum TLTTooltipLineBreakStyle : std::uint8_t { hlbDefault, hlbForceSingleLine, hlbForceMultiLine };

class TCustomLiveStringTree;

class TCustomStringTreeOptions : public TCustomLiveTreeOptions {
 public:
  using TCustomLiveTreeOptions::TCustomLiveTreeOptions;
  TLTStringOptions StringOptions() const { return FStringOptions; }
  void SetStringOptions(TLTStringOptions value);
  void Assign(const TCustomLiveTreeOptions& source) override;

 private:
  TLTStringOptions FStringOptions = DefaultStringOptions;
};

class TStringTreeOptions : public TCustomStringTreeOptions {
 public:
  using TCustomStringTreeOptions::TCustomStringTreeOptions;
};

using TLSTGetTextEvent = std::function<void(TBaseLiveTree* sender, PLiveNode node, TColumnIndex column,
                                            TLSTTextType textType, String& cellText)>;
using TLTPaintText = std::function<void(TBaseLiveTree* sender, TCanvas* targetCanvas, PLiveNode node,
                                        TColumnIndex column, TLSTTextType textType)>;
using TLSTNewTextEvent =
    std::function<void(TBaseLiveTree* sender, PLiveNode node, TColumnIndex column, const String& newText)>;
using TLSTGetHintEvent = std::function<void(TBaseLiveTree* sender, PLiveNode node, TColumnIndex column,
                                            TLTTooltipLineBreakStyle& lineBreakStyle, String& hintText)>;
using TLSTShortenStringEvent =
    std::function<void(TBaseLiveTree* sender, TCanvas* targetCanvas, PLiveNode node, TColumnIndex column,
                       const String& s, Integer textSpace, String& result, bool& done)>;
using TLTMeasureTextEvent = std::function<void(TBaseLiveTree* sender, TCanvas* targetCanvas, PLiveNode node,
                                               TColumnIndex column, const String& text, Integer& extent)>;
using TLTNodeExportEvent = std::function<bool(TBaseLiveTree* sender, TLTExportType exportType, PLiveNode node)>;
using TLTColumnExportEvent =
    std::function<void(TBaseLiveTree* sender, TLTExportType exportType, TLiveTreeColumn* column)>;
using TLTTreeExportEvent = std::function<void(TBaseLiveTree* sender, TLTExportType exportType)>;

// The longest prefix of S that fits Width together with an ellipsis,
// followed by "..." (EllipsisWidth 0: measured first); empty when S is empty,
// the width is not positive or the ellipsis alone does not fit.
String ShortenText(ILiveTreeHost& host, const TLiveTreeFont& font, const String& s, Integer width,
                   Integer ellipsisWidth);

class TCustomLiveStringTree : public TBaseLiveTree {
 public:
  explicit TCustomLiveStringTree(ILiveTreeHost* host = nullptr);
  ~TCustomLiveStringTree() override;

  // A cell's text: OnGetText with DefaultText preset (the node is
  // initialised first); writing hands the text to OnNewText.
  String NodeText(PLiveNode node, TColumnIndex column);
  void SetNodeText(PLiveNode node, TColumnIndex column, const String& text);
  // The secondary text of a cell, empty unless OnGetText gives one.
  String NodeStaticText(PLiveNode node, TColumnIndex column);
  const String& DefaultText() const { return FDefaultText; }
  void SetDefaultText(const String& value);
  TLTStringOptions StringOptions() const;
  void SetStringOptions(TLTStringOptions value);
  TCustomStringTreeOptions& StringTreeOptions() { return static_cast<TCustomStringTreeOptions&>(TreeOptions()); }

  // The text height and the width of "..." in the tree's font.
  Integer TextHeight() const { return FTextHeight; }
  Integer EllipsisWidth() const { return FEllipsisWidth; }

  PLiveNode AddChild(PLiveNode parent, void* userData = nullptr) override;
  TLiveTreeClass ClipboardClass() const override { return ltcStringTree; }
  virtual Integer ComputeNodeHeight(TCanvas* canvas, PLiveNode node, TColumnIndex column, String s = {});
  // The texts of the node and its ancestors, each followed by Delimiter; the
  // delimiter alone for nil and the root.
  String Path(PLiveNode node, TColumnIndex column, TLSTTextType textType, Char delimiter);
  void GetTextInfo(PLiveNode node, TColumnIndex column, TLiveTreeFont& font, TRect& r, String& text) override;
  void InvalidateNode(PLiveNode node) override;
  void ReinitNode(PLiveNode node, bool recursive) override;
  Integer MeasureNodeWidth(PLiveNode node, TColumnIndex column, TCanvas* canvas = nullptr) override;
  Integer NodeExtraWidth(PLiveNode node, TColumnIndex column, TCanvas* canvas = nullptr) override;
  bool IsCellEmpty(PLiveNode node, TColumnIndex column) override;
  Integer IncrementalSearchCompare(PLiveNode node, const String& searchText) override;
  void PaintNodeCell(ILiveTreeCanvas& canvas, TLTPaintInfo& info) override;
  // The width the node's main-column text had when last measured (0: not
  // measured).
  Integer CachedTextWidth(PLiveNode node) const;

  // ---- Content export ----
  AnsiString ContentToText(TLSTTextSourceType source, Char separator);
  AnsiString ContentToText(TLSTTextSourceType source, const AnsiString& separator);
  String ContentToUnicode(TLSTTextSourceType source, Char separator);
  String ContentToUnicode(TLSTTextSourceType source, const String& separator);
  // UTF-8.
  RawByteString ContentToHTML(TLSTTextSourceType source, const String& caption = {});
  RawByteString ContentToRTF(TLSTTextSourceType source);
  void ContentToCustom(TLSTTextSourceType source);
  // The bytes a clipboard format holds (with its terminating NUL); empty for
  // a format that is not rendered. The control copies them into a global
  // memory block.
  TBytes ContentToClipboard(TLTClipboardContent format, TLSTTextSourceType source);
  bool SaveToCSVFile(const String& fileNameWithPath, bool includeHeading);
  void BuildCSVLines(TStrings& list, bool includeHeading);
  // The HTML wrapped in the "HTML Format" clipboard layout.
  static RawByteString WrapHTMLForClipboard(const RawByteString& html);
  void SetExportServices(ILiveTreeExportServices* services);
  ILiveTreeExportServices& ExportServices() const { return *FExportServices; }

  TLSTGetTextEvent OnGetText;
  TLTPaintText OnPaintText;
  TLSTNewTextEvent OnNewText;
  TLSTGetHintEvent OnGetHint;
  TLSTShortenStringEvent OnShortenString;
  TLTMeasureTextEvent OnMeasureTextWidth;
  TLTMeasureTextEvent OnMeasureTextHeight;
  TLTNodeExportEvent OnBeforeNodeExport;
  TLTNodeExportEvent OnNodeExport;
  TLTNodeExportEvent OnAfterNodeExport;
  TLTColumnExportEvent OnBeforeColumnExport;
  TLTColumnExportEvent OnColumnExport;
  TLTColumnExportEvent OnAfterColumnExport;
  TLTTreeExportEvent OnBeforeTreeExport;
  TLTTreeExportEvent OnAfterTreeExport;
  TLTTreeExportEvent OnBeforeHeaderExport;
  TLTTreeExportEvent OnAfterHeaderExport;

 protected:
  TCustomLiveStringTree(ILiveTreeHost* host, std::unique_ptr<TCustomStringTreeOptions> options);
  friend class TCustomStringTreeOptions;

  virtual Integer StaticTextWidth(TCanvas* canvas, PLiveNode node, TColumnIndex column, const String& text);
  virtual Integer NormalTextWidth(TCanvas* canvas, PLiveNode node, TColumnIndex column, const String& text);
  virtual void QueryCellText(PLiveNode node, TColumnIndex column, TLSTTextType textType, String& text);
  virtual void ApplyNewText(PLiveNode node, TColumnIndex column, const String& text);
  virtual void NotifyPaintText(PLiveNode node, TCanvas* canvas, TColumnIndex column, TLSTTextType textType);
  virtual String ShortenCellText(TCanvas* canvas, PLiveNode node, TColumnIndex column, const String& s, Integer width,
                                 Integer ellipsisWidth);
  virtual TSize MeasureCellText(TCanvas* canvas, PLiveNode node, TColumnIndex column, const String& text);
  void StringOptionsChanged(TLTStringOptions oldOptions, TLTStringOptions newOptions);
  // The texts' colour: selected, drop target, disabled.
  TColor CellTextColor(const TLTPaintInfo& info, bool staticText);
  virtual void PaintCellText(ILiveTreeCanvas& canvas, TLTPaintInfo& info, String text);
  virtual void PaintStaticCellText(ILiveTreeCanvas& canvas, TLTPaintInfo& info, const String& text);

  void MainColumnChanged() override;
  void FontChanged() override;
  void StoreNodeParts(TStream& stream, PLiveNode node) override;
  bool RestorePart(TStream& stream, Integer version, PLiveNode node, Integer chunkType, Integer chunkSize) override;
  void AddToSelection(PLiveNode node) override;
  void RemoveFromSelection(PLiveNode node) override;

  // The canvas events receive (nil: the tree's) and its font.
  TCanvas* EventCanvas(TCanvas* canvas) const { return canvas != nullptr ? canvas : Host()->Canvas(); }
  TLiveTreeFont CanvasFont(TCanvas* canvas) const;
  void SetCanvasFont(TCanvas* canvas, const TLiveTreeFont& font) const;

 private:
  void Construct();
  void SetCachedTextWidth(PLiveNode node, Integer width);
  void ClearTextWidthCache();
  // The text of a node for the restored selection: OnGetText, column 0.
  String SelectionText(PLiveNode node);
  // Export helpers.
  bool ExportAllowed(PLiveNode node);
  PLiveNode FirstRenderNode(TLSTTextSourceType source);
  PLiveNode NextRenderNode(TLSTTextSourceType source, PLiveNode node);
  Cardinal MaxExportLevel(TLSTTextSourceType source, bool filtered);
  template <typename TextType, typename Convert>
  TextType RenderText(TLSTTextSourceType source, const TextType& separator, bool unicode, Convert convert);

  Cardinal FInternalDataOffset = 0;
  String FDefaultText = u"Node";
  Integer FTextHeight = 0;
  Integer FEllipsisWidth = 0;
  std::unique_ptr<TStringList> FPreviouslySelected;
  TDefaultLiveTreeExportServices FDefaultExportServices;
  ILiveTreeExportServices* FExportServices = &FDefaultExportServices;
};

// The published string tree.
class TLiveStringTree : public TCustomLiveStringTree {
 public:
  explicit TLiveStringTree(ILiveTreeHost* host = nullptr);
  TStringTreeOptions& TreeOptions() { return static_cast<TStringTreeOptions&>(TBaseLiveTree::TreeOptions()); }
};
