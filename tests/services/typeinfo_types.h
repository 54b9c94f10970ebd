// Types and a component class described for the type-information wrapper
// and report tests.
#pragma once

#include <memory>

#include "classes/component.h"
#include "classes/persistent.h"

enum TLetter : Byte { ltA, ltB, ltC, ltD };
using TLetters = TSet<TLetter>;

const TTypeInfo& DescribeType(TypeTag<TLetter>);
const TTypeInfo& DescribeType(TypeTag<TLetters>);

namespace probe_types {
const TEnumTypeInfo& Letter();              // TLetter = (a, b, c, d)
const TSetTypeInfo& Letters();              // TLetters = set of TLetter
const TEnumTypeInfo& MiddleLetter();        // TMiddle = b .. c
const TOrdinalTypeInfo& Nibble();           // TNibble = 0..15
const TSetTypeInfo& Nibbles();              // set of TNibble
const TSetTypeInfo& Bytes();                // set of Byte (0..255)
const TOrdinalTypeInfo& SevenEight();       // 7..8
const TSetTypeInfo& SevenEights();          // set of 7..8
const TOrdinalTypeInfo& LowerCase();        // 'a'..'z'
const TMethodTypeInfo& NoParams();          // procedure of object
const TMethodTypeInfo& Lookup();            // function(...): Boolean of object
const TInterfaceTypeInfo& Unknown();        // IUnknown
const TInterfaceTypeInfo& Storable();       // IStorable(IUnknown), with a GUID
const TInterfaceTypeInfo& Dispatch();       // a dispinterface
const TDynArrayTypeInfo& IntegerArray();    // TIntegerArray = array of Integer
const TDynArrayTypeInfo& AnonymousArray();  // array of (anonymous enumeration)
}  // namespace probe_types

// A font-like sub-object.
class TGadgetFont : public TPersistent {
  KST_CLASS(TGadgetFont, TPersistent)
 public:
  String Name = u"Tahoma";
};

class TGadget : public TComponent {
  KST_CLASS(TGadget, TComponent)
 public:
  explicit TGadget(TComponent* owner) : TComponent(owner), Font(std::make_unique<TGadgetFont>()) {}
  Integer Size = 0;
  TLetter Letter = ltA;
  TLetters Letters;
  double Ratio = 0;
  String Caption;
  Int64 Big = 0;
  TGadget* Buddy = nullptr;
  std::unique_ptr<TGadgetFont> Font;
  TNotifyEvent OnChange;
  TGadgetFont* GetFont() const { return Font.get(); }
};

// A descendant with one own property.
class TBigGadget : public TGadget {
  KST_CLASS(TBigGadget, TGadget)
 public:
  using TGadget::TGadget;
  Integer Depth = 0;
};
