// The run loop's superinstructions against the instructions one by one (Step): every sequence
// the decoder fuses, with registers and addresses on and beyond the edges of the store, must
// end in the same registers, store bytes and error.
#include <functional>
#include <string>
#include <vector>

#include "Fusion.h"
#include "VmTestUtil.h"

namespace {

using namespace vmtest;

struct TOperands {
  std::int32_t k, j, c;
};

// One fusable sequence; `end` is the index its jumps go to.
using TPattern = std::function<void(TAsm &, const TOperands &, std::int32_t end)>;

struct TNamedPattern {
  const char *name;
  std::int32_t length;
  TPattern emit;
};

const TNamedPattern Patterns[] = {
    {"ElemAddrInc", 9, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt);
     }},
    {"ElemAddr", 8, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushInt, o.c).Op(ocMulInt).Op(ocAddInt);
     }},
    {"IncLocal", 7, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocIncInt, o.c).Op(ocSto, 4);
     }},
    {"LoadLocalCompareJump", 5, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(o.c > 0 ? ocLTInt : ocGEInt).Op(ocJifF, end);
     }},
    {"LoadLocalJifF", 4, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 1).Op(ocJifF, end);
     }},
    {"StoreLocalInt", 4, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushInt, o.c).Op(ocSto, 4);
     }},
    {"StoreLocalBool", 4, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Bool(o.c != 0).Op(ocSto, 1);
     }},
    {"LoadLocal", 3, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, o.c == 0 ? 8 : o.c < 0 ? 1 : 4);
     }},
    {"LoadMP", 2, [](TAsm &a, const TOperands &o, std::int32_t) { a.Op(ocPushMP).Op(ocDeref, o.c == 0 ? 4 : 256); }},
    {"LocalAddr", 2, [](TAsm &a, const TOperands &o, std::int32_t) { a.Op(ocPushMP).Op(ocIncInt, o.k); }},
    {"NotJifF", 2, [](TAsm &a, const TOperands &, std::int32_t end) { a.Op(ocNotBool).Op(ocJifF, end); }},
    {"IntCompareJump", 2, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(o.c > 0 ? ocLEInt : ocNEInt).Op(ocJifF, end);
     }},
    {"RealCompareJump", 2, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(o.c > 0 ? ocGTReal : ocEQReal).Op(ocJifF, end);
     }},
    {"ConstCompareJump", 3, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocPushInt, o.c).Op(ocGTInt).Op(ocJifF, end);
     }},
    {"ConstMulAdd", 3, [](TAsm &a, const TOperands &o, std::int32_t) { a.Op(ocPushInt, o.c).Op(ocMulInt).Op(ocAddInt); }},
    {"IncMulAdd", 4, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocIncInt, o.c).Op(ocPushInt, 8).Op(ocMulInt).Op(ocAddInt);
     }},
    {"ConstOps", 2, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushInt, o.c).Op(o.c > 0 ? ocShlInt : o.c < 0 ? ocSubInt : ocXorInt);
     }},
    {"ForTest", 6, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocDup, 4).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(o.c > 0 ? ocGEInt : ocLEInt).Op(ocJifF, end);
     }},
    {"LoadLocalIntOp", 4, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(o.c > 0 ? ocAddInt : o.c < 0 ? ocSubInt : ocMulInt);
     }},
    {"LoadLocalRealOp", 4, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 8);
       a.Op(o.c > 1 ? ocAddReal : o.c == 1 ? ocSubReal : o.c < 0 ? ocMulReal : ocDivReal);
     }},
    {"ConstToReal", 2, [](TAsm &a, const TOperands &o, std::int32_t) { a.Op(ocPushInt, o.c).Op(ocIntToReal); }},
    {"ElemLoadInc", 10, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, o.c < 0 ? 1 : 4);
     }},
    {"ElemLoad", 9, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushInt, o.c).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 8);
     }},
    {"IncLocalJump", 8, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocIncInt, o.c).Op(ocSto, 4);
       a.Op(ocJump, end);
     }},
    {"LoadField", 5, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocIncInt, o.c).Op(ocDeref, o.c < 0 ? 256 : 8);
     }},
    {"LoadIndirect", 4, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocDeref, o.c > 0 ? 4 : 1);
     }},
    {"ConstDivMod", 2, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushInt, o.c).Op(o.j > 20 ? ocDivInt : ocModInt);
     }},
    {"RawCompareJump", 3, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocPushInt, o.c).Op(o.j > 20 ? ocEQ : ocNE, 4).Op(ocJifF, end);
     }},
    {"AddIndexIncLoad", 8, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c).Op(ocPushInt, 8).Op(ocMulInt).Op(ocAddInt);
       a.Op(ocDeref, o.c < 0 ? 1 : 8);
     }},
    {"AddIndexInc", 9, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c).Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt);
       a.Op(ocPushInt, 4).Op(ocIncSP, -4);
     }},
    {"AddIndexLoad", 7, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocPushInt, o.c).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 4);
     }},
    {"AddIndex", 7, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocPushInt, o.c).Op(ocMulInt).Op(ocAddInt).Op(ocIncSP, 0);
     }},
    {"LocalConstCompareJump", 6, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocPushInt, o.c).Op(o.j > 20 ? ocLTInt : ocNEInt);
       a.Op(ocJifF, end);
     }},
    {"SetMPJump", 2, [](TAsm &a, const TOperands &o, std::int32_t end) { a.Op(ocSetMP, o.c).Op(ocJump, end - 1); }},
    {"ElemStoreInc", 11, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt);
       if (o.c > 0)
         a.Bool(true).Op(ocSto, 1);
       else
         a.Op(ocPushInt, 77).Op(ocSto, 4);
     }},
    {"ElemStore", 10, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushInt, o.c).Op(ocMulInt).Op(ocAddInt);
       if (o.c < 0)
         a.Bool(false).Op(ocSto, 1);
       else
         a.Op(ocPushInt, -5).Op(ocSto, 4);
     }},
    {"LocalOpLocal", 10, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(o.c > 0 ? ocAddInt : ocSubInt).Op(ocSto, 4);
     }},
    {"PushLinks", 2, [](TAsm &a, const TOperands &o, std::int32_t) { a.Op(ocPushMP).Op(ocPushPC, o.c); }},
    {"LoadLocalInc", 4, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocIncInt, o.c);
     }},
    {"LocalsIntOp", 7, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(o.c > 0 ? ocAddInt : o.c < 0 ? ocSubInt : ocMulInt);
     }},
    {"LocalsRealOp", 7, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 8).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 8);
       a.Op(o.c > 1 ? ocAddReal : o.c == 1 ? ocSubReal : o.c < 0 ? ocMulReal : ocDivReal);
     }},
    {"LocalAddrLoad", 5, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, o.c > 0 ? 8 : o.c < 0 ? 1 : 4);
     }},
    {"MulAddReal", 2, [](TAsm &a, const TOperands &, std::int32_t) { a.Op(ocMulReal).Op(ocAddReal); }},
    {"Elem2DLoad", 17, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, 16).Op(ocMulInt).Op(ocAddInt);
       a.Op(ocPushMP).Op(ocIncInt, o.k + 4).Op(ocDeref, 4).Op(ocIncInt, -o.c).Op(ocPushInt, 4).Op(ocMulInt);
       a.Op(ocAddInt).Op(ocDeref, o.c > 0 ? 8 : 4);
     }},
    {"ElemLoadStoInc", 11, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 4).Op(ocSto, 4);
     }},
    {"ElemLoadSto", 10, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushInt, o.c).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 1).Op(ocSto, 1);
     }},
    {"StoJump", 2, [](TAsm &a, const TOperands &o, std::int32_t end) { a.Op(ocSto, o.c < 0 ? 1 : 4).Op(ocJump, end - 1); }},
    {"StoRet", 2, [](TAsm &a, const TOperands &o, std::int32_t) { a.Op(ocSto, o.c > 0 ? 4 : 1).Op(ocRet); }},
    {"JumpRet", 3, [](TAsm &a, const TOperands &, std::int32_t) {
       const std::int32_t here = a.Count();
       a.Op(ocJump, here + 2).Op(ocIllegal).Op(ocRet);
     }},
    {"IntSto", 2, [](TAsm &a, const TOperands &o, std::int32_t) { a.Op(o.c > 0 ? ocAddInt : ocSubInt).Op(ocSto, 4); }},
    {"IncSPLoadMP", 3, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocIncSP, o.c * 4).Op(ocPushMP).Op(ocDeref, o.c < 0 ? 8 : 4);
     }},
    {"CallLinks", 5, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocIncSP, o.c * 4).Op(ocPushMP).Op(ocDeref, o.c < 0 ? 8 : 4).Op(ocPushMP).Op(ocPushPC, o.c + 3);
     }},
    {"IntStoRet", 3, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(o.c > 0 ? ocAddInt : ocSubInt).Op(ocSto, 4).Op(ocRet);
     }},
    // IF a[j + c] > a[j] THEN and the like: two integer element loads, compared, JifF.
    {"ElemPairIncPlain", 21, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 4);
       a.Op(o.c > 0 ? ocGTInt : o.c < 0 ? ocLEInt : ocNEInt).Op(ocJifF, end);
     }},
    {"ElemPairPlainInc", 21, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushInt, 8).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.k + 4).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, 8).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 4);
       a.Op(o.c > 0 ? ocLTInt : o.c < 0 ? ocGEInt : ocEQInt).Op(ocJifF, end);
     }},
    {"ElemStoLocal", 12, [](TAsm &a, const TOperands &o, std::int32_t) {
       const std::int32_t n = o.c > 0 ? 4 : o.c < 0 ? 8 : 1;
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt).Op(ocPushMP).Op(ocIncInt, o.j + 4).Op(ocDeref, n).Op(ocSto, n);
     }},
    {"ElemIncStoLocal", 13, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocSto, 4);
     }},
    {"LocalStoElem", 12, [](TAsm &a, const TOperands &o, std::int32_t) {
       const std::int32_t n = o.c > 0 ? 4 : o.c < 0 ? 8 : 1;
       a.Op(ocPushMP).Op(ocIncInt, o.j + 4).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j);
       a.Op(ocDeref, 4).Op(ocPushInt, 2).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, n).Op(ocSto, n);
     }},
    {"LocalStoElemInc", 13, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j);
       a.Op(ocDeref, 4).Op(ocIncInt, o.c).Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 4).Op(ocSto, 4);
     }},
    {"CopyLocal", 6, [](TAsm &a, const TOperands &o, std::int32_t) {
       const std::int32_t n = o.c > 2 ? 256 : o.c > 0 ? 4 : o.c < 0 ? 8 : 1;
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, n).Op(ocSto, n);
     }},
    {"CopyLocalJump", 7, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocSto, 4).Op(ocJump, end - 1);
     }},
    {"FieldSto", 7, [](TAsm &a, const TOperands &o, std::int32_t) {
       const std::int32_t n = o.c > 0 ? 4 : o.c < 0 ? 8 : 1;
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocDeref, n).Op(ocSto, n);
     }},
    {"FieldIncSto", 8, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c * 4);
       a.Op(ocDeref, 4).Op(ocSto, 4);
     }},
    {"StoField", 7, [](TAsm &a, const TOperands &o, std::int32_t) {
       const std::int32_t n = o.c > 0 ? 4 : o.c < 0 ? 8 : 1;
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, n).Op(ocSto, n);
     }},
    {"StoIncField", 8, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c * 4).Op(ocPushMP).Op(ocIncInt, o.k);
       a.Op(ocDeref, 4).Op(ocSto, 4);
     }},
    {"LocalConstRawCompareJump", 6, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocPushInt, o.c).Op(o.j > 20 ? ocNE : ocEQ, 4);
       a.Op(ocJifF, end);
     }},
    {"StoConstInt", 2, [](TAsm &a, const TOperands &o, std::int32_t) { a.Op(ocPushInt, o.c).Op(ocSto, 4); }},
    {"StoConstBool", 2, [](TAsm &a, const TOperands &o, std::int32_t) { a.Bool(o.c != 0).Op(ocSto, 1); }},
    {"ElemLoadNotJifF", 11, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushInt, o.c).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 1).Op(ocNotBool).Op(ocJifF, end);
     }},
    {"ElemLoadIncNotJifF", 12, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, 1).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 1).Op(ocNotBool).Op(ocJifF, end);
     }},
    {"ElemCompareLocalJump", 14, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushInt, o.c).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.j - 4).Op(ocDeref, 4).Op(o.c > 0 ? ocLEInt : o.c < 0 ? ocGTInt : ocNEInt);
       a.Op(ocJifF, end);
     }},
    {"ElemIncCompareLocalJump", 15, [](TAsm &a, const TOperands &o, std::int32_t end) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(o.c > 0 ? ocLTInt : o.c < 0 ? ocGEInt : ocEQInt);
       a.Op(ocJifF, end);
     }},
    {"ElemCopy", 18, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt);
       a.Op(ocPushMP).Op(ocIncInt, o.k + 8).Op(ocPushMP).Op(ocIncInt, o.j - 4).Op(ocDeref, 4);
       a.Op(ocPushInt, o.c < 0 ? 1 : 4).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, o.c < 0 ? 1 : 4).Op(ocSto, o.c < 0 ? 1 : 4);
     }},
    {"ElemIncCopyInc", 20, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, o.c > 0 ? 8 : 4).Op(ocMulInt).Op(ocAddInt);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, -o.c);
       a.Op(ocPushInt, o.c > 0 ? 8 : 4).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, o.c > 0 ? 8 : 4).Op(ocSto, o.c > 0 ? 8 : 4);
     }},
    {"ElemIncCopy", 19, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 4).Op(ocSto, 4);
     }},
    {"ElemCopyInc", 19, [](TAsm &a, const TOperands &o, std::int32_t) {
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 4).Op(ocSto, 4);
     }},
    // Loops whose back edge runs the test in place: local k set to a start, tested, stepped by
    // one (or by local j) and jumped back to the test, a few times.
    {"ForLoop", 19, [](TAsm &a, const TOperands &o, std::int32_t end) {
       const bool up = o.c > 0;
       a.Op(ocPushInt, up ? 3 : 0);                                                      // limit
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushInt, up ? 0 : 3).Op(ocSto, 4);          // start
       const std::int32_t test = a.Count();
       a.Op(ocDup, 4).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(up ? ocGEInt : ocLEInt).Op(ocJifF, end);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocIncInt, up ? 1 : -1);
       a.Op(ocSto, 4).Op(ocJump, test);
     }},
    {"WhileIncLoop", 18, [](TAsm &a, const TOperands &o, std::int32_t end) {
       const bool up = o.c > 0;
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushInt, up ? 0 : 3).Op(ocSto, 4);
       const std::int32_t test = a.Count();
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocPushInt, up ? 3 : 0);
       a.Op(up ? (o.c > 1 ? ocLTInt : ocLEInt) : (o.c < 0 ? ocGTInt : ocGEInt)).Op(ocJifF, end);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocIncInt, up ? 1 : -1);
       a.Op(ocSto, 4).Op(ocJump, test);
     }},
    {"WhileAddLoop", 25, [](TAsm &a, const TOperands &o, std::int32_t end) {
       const bool up = o.c > 0;
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushInt, 1).Op(ocSto, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushInt, up ? 1 : 3).Op(ocSto, 4);
       const std::int32_t test = a.Count();
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocPushInt, up ? 3 : 0);
       a.Op(up ? (o.c > 1 ? ocLTInt : ocLEInt) : (o.c < 0 ? ocGTInt : ocGEInt)).Op(ocJifF, end);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(up ? ocAddInt : ocSubInt).Op(ocSto, 4).Op(ocJump, test);
     }},
    {"WhileBoolLoop", 16, [](TAsm &a, const TOperands &o, std::int32_t end) {
       // WHILE b DO k := k - 1, with b the low byte of k: the loop ends through its back edge
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushInt, o.c > 0 ? 2 : 0).Op(ocSto, 4);
       const std::int32_t test = a.Count();
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 1).Op(ocJifF, end);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.k).Op(ocDeref, 4).Op(ocIncInt, -1);
       a.Op(ocSto, 4).Op(ocJump, test);
     }},
    // Fill loops: a FOR or WHILE body storing a constant into the counter's element, several
    // rounds of which run at once when their stores keep clear of the loop's own bytes.
    {"ForFillInc", 30, [](TAsm &a, const TOperands &o, std::int32_t end) {
       const bool up = o.c >= 0, isInt = o.j % 8 == 0;
       a.Op(ocPushInt, up ? 5 : 1);
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushInt, up ? 1 : 5).Op(ocSto, 4);
       const std::int32_t test = a.Count();
       a.Op(ocDup, 4).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(up ? ocGEInt : ocLEInt).Op(ocJifF, end);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, isInt ? 4 : 1).Op(ocMulInt).Op(ocAddInt);
       if (isInt)
         a.Op(ocPushInt, 0x11223344).Op(ocSto, 4);
       else
         a.Bool(true).Op(ocSto, 1);
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, up ? 1 : -1);
       a.Op(ocSto, 4).Op(ocJump, test);
     }},
    {"ForFill", 29, [](TAsm &a, const TOperands &o, std::int32_t end) {
       const bool up = o.c <= 0, isInt = o.c != 0;
       a.Op(ocPushInt, up ? 3 : -1);
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushInt, up ? -1 : 3).Op(ocSto, 4);
       const std::int32_t test = a.Count();
       a.Op(ocDup, 4).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(up ? ocGEInt : ocLEInt).Op(ocJifF, end);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushInt, isInt ? 8 : 2).Op(ocMulInt).Op(ocAddInt);
       if (isInt)
         a.Op(ocPushInt, -2).Op(ocSto, 4);
       else
         a.Bool(false).Op(ocSto, 1);
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, up ? 1 : -1);
       a.Op(ocSto, 4).Op(ocJump, test);
     }},
    {"WhileFillInc", 36, [](TAsm &a, const TOperands &o, std::int32_t end) {
       const bool isInt = o.c > 0;
       a.Op(ocPushMP).Op(ocIncInt, o.j + 4).Op(ocPushInt, o.c > 1 ? 2 : 1).Op(ocSto, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushInt, 1).Op(ocSto, 4);
       const std::int32_t test = a.Count();
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocPushInt, 9).Op(o.c < 0 ? ocLTInt : ocLEInt).Op(ocJifF, end);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, isInt ? 4 : 1).Op(ocMulInt).Op(ocAddInt);
       if (isInt)
         a.Op(ocPushInt, 7).Op(ocSto, 4);
       else
         a.Bool(true).Op(ocSto, 1);
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.j + 4).Op(ocDeref, 4).Op(ocAddInt).Op(ocSto, 4).Op(ocJump, test);
     }},
    {"WhileFill", 35, [](TAsm &a, const TOperands &o, std::int32_t end) {
       const bool isInt = o.c <= 0;
       a.Op(ocPushMP).Op(ocIncInt, o.j - 4).Op(ocPushInt, o.c < 0 ? -1 : 3).Op(ocSto, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushInt, 0).Op(ocSto, 4);
       const std::int32_t test = a.Count();
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocPushInt, 10).Op(o.c > 0 ? ocLTInt : ocLEInt).Op(ocJifF, end);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushInt, isInt ? 4 : 1).Op(ocMulInt).Op(ocAddInt);
       if (isInt)
         a.Op(ocPushInt, 0x7FFFFFFF).Op(ocSto, 4);
       else
         a.Bool(false).Op(ocSto, 1);
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.j - 4).Op(ocDeref, 4).Op(ocAddInt).Op(ocSto, 4).Op(ocJump, test);
     }},
    // Accumulating loops: s := s + x[..] * y[..] over a counter, the factors' indexes the
    // counter and an invariant local (set to 2 first).
    {"DotLoopReal", 62, [](TAsm &a, const TOperands &o, std::int32_t end) {
       const bool up = o.c >= 0;
       a.Op(ocPushMP).Op(ocIncInt, o.j + 4).Op(ocPushInt, 2).Op(ocSto, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.j + 8).Real(o.c > 2 ? 1e308 : 0.5).Op(ocSto, 8);
       a.Op(ocPushInt, up ? 3 : 0);
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushInt, up ? 0 : 3).Op(ocSto, 4);
       const std::int32_t test = a.Count();
       a.Op(ocDup, 4).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(up ? ocGEInt : ocLEInt).Op(ocJifF, end);
       a.Op(ocPushMP).Op(ocIncInt, o.j + 8).Op(ocPushMP).Op(ocIncInt, o.j + 8).Op(ocDeref, 8);
       a.Op(ocPushMP).Op(ocIncInt, o.k + 100).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, 8).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 8);
       a.Op(ocPushMP).Op(ocIncInt, o.k + 140).Op(ocPushMP).Op(ocIncInt, o.j + 4).Op(ocDeref, 4).Op(ocIncInt, 1);
       a.Op(ocPushInt, 16).Op(ocMulInt).Op(ocAddInt).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, -1);
       a.Op(ocPushInt, 8).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 8);
       a.Op(ocMulReal).Op(ocAddReal).Op(ocSto, 8);
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, up ? 1 : -1);
       a.Op(ocSto, 4).Op(ocJump, test);
     }},
    {"DotLoopInt", 54, [](TAsm &a, const TOperands &o, std::int32_t end) {
       const bool up = o.c <= 0;
       a.Op(ocPushMP).Op(ocIncInt, o.j - 4).Op(ocPushInt, 3).Op(ocSto, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.j + 4).Op(ocPushInt, 0x7FFFFFF0).Op(ocSto, 4);
       a.Op(ocPushInt, up ? 4 : 1);
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushInt, up ? 1 : 4).Op(ocSto, 4);
       const std::int32_t test = a.Count();
       a.Op(ocDup, 4).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(up ? ocGEInt : ocLEInt).Op(ocJifF, end);
       a.Op(ocPushMP).Op(ocIncInt, o.j + 4).Op(ocPushMP).Op(ocIncInt, o.j + 4).Op(ocDeref, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.k).Op(ocPushMP).Op(ocIncInt, o.j - 4).Op(ocDeref, 4);
       a.Op(ocPushInt, 4).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.k + 4).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, o.c);
       a.Op(ocPushInt, o.c > 0 ? 4 : 12).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 4);
       a.Op(ocMulInt).Op(ocAddInt).Op(ocSto, 4);
       a.Op(ocPushMP).Op(ocIncInt, o.j).Op(ocPushMP).Op(ocIncInt, o.j).Op(ocDeref, 4).Op(ocIncInt, up ? 1 : -1);
       a.Op(ocSto, 4).Op(ocJump, test);
     }},
};

// A program that fills the low store with varied bytes, puts SP and MP where asked, runs the
// pattern twice (once falling through, once as a jump target) and halts.
IProgramRef Build(const TNamedPattern &p, std::int32_t sp, std::int32_t mp, const TOperands &o) {
  TAsm a;
  a.Op(ocInit);
  for (std::int32_t v : {17, -3, 40, 1, 0x01020304, 63990, 255, 12})
    a.Op(ocPushInt, v);
  a.Real(2.5).Real(-1.0).Bool(true).Bool(false);
  a.Op(ocIncSP, sp - (11 + 8 * 4 + 16 + 2)).Op(ocSetMP, sp - mp);
  const std::int32_t first = a.Count();
  const std::int32_t end = first + 2 * p.length + 1;
  p.emit(a, o, end);
  p.emit(a, o, end);
  a.Op(ocHalt).Op(ocHalt);
  EXPECT_EQ(a.Count(), end + 1);
  return a.Prog;
}

// Whether the program ends (halts or fails) within a few thousand steps: a loop pattern whose
// counter the store's edges or the scratch bytes overwrite may run on for ever.
bool EndsSoon(const IProgramRef &prog) {
  TMemoryConsole console("", true);
  TUVCInterpreter vm(&console);
  vm.LoadProgram(prog);
  try {
    for (int i = 0; i < 5000; ++i) {
      TInstruction next;
      prog->GetInstruction(vm.GetPC(), next);
      if (vm.GetPC() < 0 || (vm.GetPC() < prog->GetCount() && next.Opcode == ocHalt)) return true;
      vm.Step();
    }
  } catch (const ERunError &) {
    return true;
  }
  return false;
}

TEST(Fusion, SuperinstructionsAgreeWithSteps) {
  const std::int32_t sps[] = {11, 12, 15, 20, 60, 300, 63975, 63980, 63984, 63987, 63988, 63989, 63990,
                              63991, 63992, 63993, 63994, 63995, 63996, 63997, 63998, 63999, 64000};
  const std::int32_t mps[] = {0, 12, -8, 63996};
  const TOperands operands[] = {{12, 16, 1}, {0, 4, -1}, {20, 24, 0},   {63990, 63992, 3},
                                {-4, -12, 1}, {63996, 63997, -2}, {8, 36, 4}};
  int runs = 0;
  for (const auto &p : Patterns) {
    for (std::int32_t sp : sps)
      for (std::int32_t mp : mps)
        for (const auto &o : operands) {
          SCOPED_TRACE(::testing::Message() << p.name << " sp " << sp << " mp " << mp << " k " << o.k << " j "
                                            << o.j << " c " << o.c);
          const IProgramRef prog = Build(p, sp, mp, o);
          if (!EndsSoon(prog)) continue;
          RunBoth(prog);
          ++runs;
          if (::testing::Test::HasFailure()) return;
        }
  }
  EXPECT_GT(runs, 1000);
}

// The decoder picks the combined superinstructions where their sequences stand.
TEST(Fusion, DecoderFindsCombinedSequences) {
  struct TCase {
    const char *pattern;
    std::int32_t at;  // index in the pattern
    uvm::TFused expected;
  };
  const TCase cases[] = {
      {"ElemLoadNotJifF", 0, uvm::fxElemLoadNotJifF},   {"ElemLoadIncNotJifF", 0, uvm::fxElemLoadIncNotJifF},
      {"ElemCompareLocalJump", 0, uvm::fxElemLELocalJ}, {"ElemIncCompareLocalJump", 0, uvm::fxElemIncLTLocalJ},
      {"ForLoop", 11, uvm::fxIncLocalForGE},            {"WhileIncLoop", 10, uvm::fxIncLocalLETest},
      {"WhileAddLoop", 14, uvm::fxLocalAddLocalLETest}, {"WhileBoolLoop", 8, uvm::fxIncLocalBoolTest},
      {"ElemCopy", 0, uvm::fxElemCopy},                 {"ElemIncCopyInc", 0, uvm::fxElemIncCopyInc},
      {"ElemIncCopy", 0, uvm::fxElemIncCopy},           {"ElemCopyInc", 0, uvm::fxElemCopyInc},
      {"ForFillInc", 11, uvm::fxFillUpIntInc},          {"ForFill", 11, uvm::fxFillDownInt},
      {"WhileFillInc", 14, uvm::fxFillStrideLEIntInc},  {"WhileFill", 14, uvm::fxFillStrideLTBool},
      {"DotLoopReal", 19, uvm::fxDotLoop},              {"DotLoopInt", 19, uvm::fxDotLoop},
      {"ElemPairIncPlain", 0, uvm::fxPairIncPlainGTJ},  {"ElemPairPlainInc", 0, uvm::fxPairPlainIncLTJ},
      {"ElemStoLocal", 0, uvm::fxElemStoLocal},         {"ElemIncStoLocal", 0, uvm::fxElemIncStoLocal},
      {"LocalStoElem", 0, uvm::fxLocalStoElem},         {"LocalStoElemInc", 0, uvm::fxLocalStoElemInc},
      {"CopyLocal", 0, uvm::fxCopyLocal},               {"CopyLocalJump", 0, uvm::fxCopyLocalJump},
      {"FieldSto", 0, uvm::fxFieldSto},                 {"FieldIncSto", 0, uvm::fxFieldIncSto},
      {"StoField", 0, uvm::fxStoField},                 {"StoIncField", 0, uvm::fxStoIncField},
      {"LocalConstRawCompareJump", 0, uvm::fxLocalConstEQJ},
  };
  const TOperands o{12, 16, 1};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.pattern);
    const TNamedPattern *p = nullptr;
    for (const auto &q : Patterns)
      if (std::string(q.name) == c.pattern) p = &q;
    ASSERT_NE(p, nullptr);
    TAsm a;
    p->emit(a, o, p->length);
    a.Op(ocHalt);
    ASSERT_EQ(a.Count(), p->length + 1);
    std::vector<std::uint8_t> ops;
    std::vector<std::int32_t> operands;
    TInstruction instr;
    for (std::int32_t i = 0; i < a.Count(); ++i) {
      a.Prog->GetInstruction(i, instr);
      ops.push_back(instr.Opcode);
      operands.push_back(instr.IntValue);
    }
    EXPECT_EQ(uvm::FindFused(ops.data(), operands.data(), c.at, a.Count()), c.expected);
  }
}

// An accumulating loop whose real arithmetic fails in some round: the rounds before it run at
// once, the failing one and the one before it on their own, so that the error, registers and
// bytes are those of the instructions one by one. s at 12, k at 20, x[1..6] at 24, y[1..6] at 72.
TEST(Fusion, DotLoopStopsBeforeAFailingRound) {
  for (const bool inTheSum : {false, true})
    for (const std::int32_t failing : {1, 2, 3, 6, 7}) {
      SCOPED_TRACE(::testing::Message() << "round " << failing << (inTheSum ? " sum" : " product"));
      TAsm a;
      a.StackAt(200);
      for (std::int32_t i = 1; i <= 6; ++i) {
        const bool big = i == failing;
        a.Op(ocPushMP).Op(ocIncInt, 16 + 8 * i).Real(big ? 1e300 : i).Op(ocSto, 8);
        a.Op(ocPushMP).Op(ocIncInt, 64 + 8 * i).Real(big ? (inTheSum ? 1.7e8 : 1e300) : 0.5).Op(ocSto, 8);
      }
      a.Op(ocPushMP).Op(ocIncInt, 12).Real(inTheSum ? 1.7e308 : 0.0).Op(ocSto, 8);
      a.Op(ocPushInt, 6).Op(ocPushMP).Op(ocIncInt, 20).Op(ocPushInt, 1).Op(ocSto, 4);
      const std::int32_t test = a.Count();
      a.Op(ocDup, 4).Op(ocPushMP).Op(ocIncInt, 20).Op(ocDeref, 4).Op(ocGEInt).Op(ocJifF, test + 42);
      a.Op(ocPushMP).Op(ocIncInt, 12).Op(ocPushMP).Op(ocIncInt, 12).Op(ocDeref, 8);
      for (const std::int32_t base : {24, 72}) {
        a.Op(ocPushMP).Op(ocIncInt, base).Op(ocPushMP).Op(ocIncInt, 20).Op(ocDeref, 4).Op(ocIncInt, -1);
        a.Op(ocPushInt, 8).Op(ocMulInt).Op(ocAddInt).Op(ocDeref, 8);
      }
      a.Op(ocMulReal).Op(ocAddReal).Op(ocSto, 8);
      a.Op(ocPushMP).Op(ocIncInt, 20).Op(ocPushMP).Op(ocIncInt, 20).Op(ocDeref, 4).Op(ocIncInt, 1).Op(ocSto, 4);
      a.Op(ocJump, test);
      ASSERT_EQ(a.Count(), test + 42);
      a.Op(ocIncSP, -4).Op(ocHalt);
      const TOutcome o = RunBoth(a.Prog);
      EXPECT_EQ(o.Error, failing <= 6 ? "Floating point overflow" : "");
    }
}

// The decoder's look-ahead stays shallow along long runs of similar sequences (here the address
// pushes of a call with very many VAR parameters): no recursion that a big program can exhaust.
TEST(Fusion, LongRunsOfAddressPushesDecode) {
  TAsm a;
  a.StackAt(20);
  for (int i = 0; i < 300000; ++i) a.Op(ocPushMP).Op(ocIncInt, 12);
  a.Op(ocHalt);
  const TOutcome o = RunFast(a.Prog);
  EXPECT_EQ(o.Error, "Store overflow");
}

// Jumps into the middle of a fused sequence run the remaining instructions on their own.
TEST(Fusion, JumpIntoTheMiddleOfASequence) {
  TAsm a;
  a.Op(ocInit).Op(ocPushInt, 5).Op(ocPushInt, 0);  // 0..2  the variable at 12 holds 5
  a.Op(ocPushInt, 12).Op(ocJump, 6);              // 3, 4  address pushed by hand
  a.Op(ocPushMP);                                 // 5     never executed
  a.Op(ocIncInt, 0).Op(ocDeref, 4);               // 6, 7  the tail of PushMP IncInt Deref
  a.Op(ocHalt);
  const TOutcome o = RunBoth(a.Prog);
  EXPECT_EQ(o.Error, "");
  EXPECT_EQ(TopInt(o), 5);
}

}  // namespace
