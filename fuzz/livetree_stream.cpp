// Arbitrary bytes as a tree stream (loaded or appended into a string tree), a
// header stream or a column stream. Reading fails only with the tree's and
// the stream's errors; whatever was read leaves a consistent tree and header,
// and a tree that loaded saves to bytes that load back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "livetree/stringtree.h"
#include "rtl/streams.h"
#include "support/livetree_fakehost.h"

namespace {

#define Check(c) CheckAt(c, __LINE__)
void CheckAt(bool condition, int line) {
  if (!condition) {
    fprintf(stderr, "check at %d\n", line);
    std::abort();
  }
}

// The columns and positions agree after any read.
void CheckHeader(TLTHeader& header) {
  TLiveTreeColumns& columns = header.Columns();
  const auto& positions = columns.PositionToIndex();
  Check(static_cast<Integer>(positions.size()) == columns.Count());
  std::vector<bool> seen(positions.size(), false);
  for (size_t i = 0; i < positions.size(); ++i) {
    Check(columns.IsValidColumn(positions[i]) && !seen[static_cast<size_t>(positions[i])]);
    seen[static_cast<size_t>(positions[i])] = true;
    Check(columns[positions[i]]->Position() == i);
  }
  Check(header.MainColumn() >= NoColumn && header.MainColumn() < columns.Count());
  Check(header.SortColumn() >= NoColumn && header.SortColumn() < columns.Count());
  columns.TotalWidth();
  columns.GetVisibleColumns();
  for (Integer x = -10; x < 400; x += 37) columns.ColumnFromPosition(Point(x, 5));
}

struct FuzzTree {
  TFakeLiveTreeHost Host;
  TLiveStringTree Tree{&Host};
  FuzzTree() {
    Host.Tree = &Tree;
    Tree.SetNodeDataSize(sizeof(Integer));
    Tree.TreeOptions().SetSelectionOptions({toMultiSelect});
    // The caller's data: up to four bytes, whatever the chunk says.
    Tree.OnLoadNode = [this](TBaseLiveTree*, PLiveNode node, TStream& stream) {
      stream.Read(Tree.GetNodeData(node), sizeof(Integer));
    };
    Tree.OnSaveNode = [this](TBaseLiveTree*, PLiveNode node, TStream& stream) {
      Integer value = *Tree.GetNodeData<Integer>(node);
      if (value != 0) stream.WriteBuffer(&value, sizeof(value));
    };
    Tree.OnNewText = [this](TBaseLiveTree*, PLiveNode node, TColumnIndex, const String& text) {
      Captions[node] = text;
    };
    Tree.OnGetText = [this](TBaseLiveTree*, PLiveNode node, TColumnIndex, TLSTTextType type, String& text) {
      auto found = Captions.find(node);
      if (type == ttNormal && found != Captions.end()) text = found->second;
    };
  }
  ~FuzzTree() {
    DetachTreeEvents(Tree);
    Tree.OnNewText = nullptr;
    Tree.OnGetText = nullptr;
  }
  std::map<PLiveNode, String> Captions;
};

TBytes Saved(TLiveStringTree& tree) {
  TBytesStream stream;
  tree.SaveToStream(stream);
  return stream.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const Byte mode = data[0] % 5;
  TBytesStream stream(TBytes(data + 1, data + size));
  FuzzTree fuzz;
  bool loaded = false;
  try {
    switch (mode) {
      case 0:
        fuzz.Tree.LoadFromStream(stream);
        loaded = true;
        break;
      case 1: {
        PLiveNode target = fuzz.Tree.AddChild(nullptr);
        fuzz.Tree.AddFromStream(stream, target);
        break;
      }
      case 2: fuzz.Tree.Header().LoadFromStream(stream); break;
      default: fuzz.Tree.Header().Columns().LoadFromStream(stream, mode == 3 ? 1 : 6); break;
    }
  } catch (const ELiveTreeError&) {
  } catch (const EReadError&) {
  } catch (const EAssertionFailed&) {
    std::abort();
  }
  Check(fuzz.Tree.UpdateCount() == 0);
  Check(CheckTreeInvariants(fuzz.Tree).empty());
  CheckHeader(fuzz.Tree.Header());
  fuzz.Tree.ContentToText(tstAll, u'\t');

  if (loaded) {
    // What loaded saves and loads back to itself.
    TBytes first = Saved(fuzz.Tree);
    FuzzTree again;
    TBytesStream copy(first);
    again.Tree.LoadFromStream(copy);
    Check(CheckTreeInvariants(again.Tree).empty());
    Check(Saved(again.Tree) == first);
  }
  if (mode == 2) {
    TBytesStream saved;
    fuzz.Tree.Header().SaveToStream(saved);
    FuzzTree again;
    saved.SetPosition(0);
    again.Tree.Header().LoadFromStream(saved);
    // The column fields go through their setters in the stream's order (a
    // width is clamped by the limits read before it), so only the columns
    // themselves are sure to come back.
    TLiveTreeColumns& columns = fuzz.Tree.Header().Columns();
    TLiveTreeColumns& reread = again.Tree.Header().Columns();
    Check(reread.Count() == columns.Count());
    for (Integer i = 0; i < columns.Count(); ++i) Check(reread[i]->Text() == columns[i]->Text());
    CheckHeader(again.Tree.Header());
  }
  return 0;
}
