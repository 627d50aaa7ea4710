// Superinstructions of the run loop: frequent sequences of the compiler's code that the decoder
// replaces by one dispatch. A fused slot covers its own instruction and some following ones;
// those keep their own decoding, so a jump into the middle of a sequence still works. A fused
// body runs only when none of the covered instructions could fail; otherwise it falls back to
// the first instruction's own code. It leaves the same registers and store bytes (the scratch
// bytes above SP included) as the instructions one by one.
#pragma once

#include <cstdint>

// X(name, length in instructions)
#define ULVAN_FUSED(X)                                                                       \
  X(fxElemStoreBoolInc, 11) X(fxElemStoreIntInc, 11) X(fxElemStoreBool, 10)                 \
  X(fxElemStoreInt, 10) /* an element address, PushBool b Sto 1 or PushInt c Sto 4 */        \
  X(fxFillUpBoolInc, 19) X(fxFillUpIntInc, 19) X(fxFillUpBool, 18) X(fxFillUpInt, 18)        \
  X(fxFillDownBoolInc, 19) X(fxFillDownIntInc, 19) X(fxFillDownBool, 18) X(fxFillDownInt, 18) \
                  /* a FOR body storing into the counter's element, its step and back edge */ \
  X(fxFillStrideLEBoolInc, 22) X(fxFillStrideLEIntInc, 22) X(fxFillStrideLEBool, 21)        \
  X(fxFillStrideLEInt, 21) X(fxFillStrideLTBoolInc, 22) X(fxFillStrideLTIntInc, 22)          \
  X(fxFillStrideLTBool, 21) X(fxFillStrideLTInt, 21)                                         \
                  /* the same in WHILE j <= n / j < n with j := j + s and the back edge */   \
  X(fxLocalAddLocal, 10) X(fxLocalSubLocal, 10)                                              \
                  /* PushMP IncInt k PushMP IncInt k Deref 4 PushMP IncInt j Deref 4 Add/Sub Int Sto 4 */ \
  X(fxElemLoadInc, 10) X(fxElemLoad, 9) /* an element address, then Deref n */              \
  X(fxElemLoadIncNotJifF, 12) X(fxElemLoadNotJifF, 11) /* a Boolean element, Not Bool JifF t */ \
  X(fxElemLTLocalJ, 14) X(fxElemLELocalJ, 14) X(fxElemGTLocalJ, 14) X(fxElemGELocalJ, 14)    \
  X(fxElemEQLocalJ, 14) X(fxElemNELocalJ, 14) X(fxElemIncLTLocalJ, 15) X(fxElemIncLELocalJ, 15) \
  X(fxElemIncGTLocalJ, 15) X(fxElemIncGELocalJ, 15) X(fxElemIncEQLocalJ, 15)                 \
  X(fxElemIncNELocalJ, 15) /* an integer element, PushMP IncInt k Deref 4, compare, JifF t */ \
  X(fxIncLocalForGE, 8) X(fxIncLocalForLE, 8) /* IncLocal, Jump back to a FOR test */          \
  X(fxIncLocalLTTest, 8) X(fxIncLocalLETest, 8) X(fxIncLocalGTTest, 8) X(fxIncLocalGETest, 8) \
                       /* IncLocal, Jump back to a local compared with a constant, JifF */    \
  X(fxLocalAddLocalLTTest, 11) X(fxLocalAddLocalLETest, 11) X(fxLocalAddLocalGTTest, 11)     \
  X(fxLocalAddLocalGETest, 11) X(fxLocalSubLocalLTTest, 11) X(fxLocalSubLocalLETest, 11)     \
  X(fxLocalSubLocalGTTest, 11) X(fxLocalSubLocalGETest, 11)                                  \
                       /* x := x +/- y, Jump back to a local compared with a constant, JifF */ \
  X(fxIncLocalBoolTest, 8) /* IncLocal, Jump back to PushMP IncInt k Deref 1 JifF */          \
  X(fxIncLocalJump, 8) /* IncLocal, then Jump t */                                           \
  X(fxElemIncStoLocal, 13) X(fxElemStoLocal, 12) /* an element address, PushMP IncInt y */  \
                       /* Deref n Sto n: a[i] := y */                                        \
  X(fxLocalStoElemInc, 13) X(fxLocalStoElem, 12) /* PushMP IncInt x, an element load, Sto: */ \
                       /* x := a[i] */                                                       \
  X(fxPairIncIncLTJ, 0) X(fxPairIncIncLEJ, 0) X(fxPairIncIncGTJ, 0) X(fxPairIncIncGEJ, 0)    \
  X(fxPairIncIncEQJ, 0) X(fxPairIncIncNEJ, 0) X(fxPairIncPlainLTJ, 0)                        \
  X(fxPairIncPlainLEJ, 0) X(fxPairIncPlainGTJ, 0) X(fxPairIncPlainGEJ, 0)                    \
  X(fxPairIncPlainEQJ, 0) X(fxPairIncPlainNEJ, 0) X(fxPairPlainIncLTJ, 0)                    \
  X(fxPairPlainIncLEJ, 0) X(fxPairPlainIncGTJ, 0) X(fxPairPlainIncGEJ, 0)                    \
  X(fxPairPlainIncEQJ, 0) X(fxPairPlainIncNEJ, 0) X(fxPairPlainPlainLTJ, 0)                  \
  X(fxPairPlainPlainLEJ, 0) X(fxPairPlainPlainGTJ, 0) X(fxPairPlainPlainGEJ, 0)              \
  X(fxPairPlainPlainEQJ, 0) X(fxPairPlainPlainNEJ, 0)                                        \
  /* two integer element loads (each with or without IncInt c), compared, JifF */            \
  X(fxElemIncCopyInc, 20) X(fxElemIncCopy, 19) X(fxElemCopyInc, 19) X(fxElemCopy, 18)      \
                       /* an element address, then an element load and Sto: a[i] := b[j] */ \
  X(fxAddIndexIncLoad, 8) X(fxAddIndexInc, 7) X(fxAddIndexLoad, 7) X(fxAddIndex, 6)          \
                       /* PushMP IncInt j Deref 4 [IncInt c] PushInt m Mul Int Add Int [Deref n] */ \
  X(fxLocalConstLTJ, 6) X(fxLocalConstLEJ, 6) X(fxLocalConstGTJ, 6) X(fxLocalConstGEJ, 6)    \
  X(fxLocalConstEQJ, 6) X(fxLocalConstNEJ, 6) /* PushMP IncInt k Deref 4 PushInt c, compare, JifF t */ \
  X(fxSetMPJump, 2)    /* SetMP n Jump t: a call */                                          \
  X(fxPushLinks, 2)    /* PushMP PushPC n: dynamic link and return index of a call */       \
  X(fxElem2DLoad, 17)  /* an element address (9) and an index step with Deref n (8) */       \
  X(fxElemLoadStoInc, 11) X(fxElemLoadSto, 10) /* an element load, then Sto n */            \
  X(fxStoJump, 2) X(fxStoRet, 2) /* Sto n, then Jump t or Ret */                             \
  X(fxJumpRet, 1)      /* Jump t where t holds a Ret */                                      \
  X(fxAddIntStoRet, 3) X(fxSubIntStoRet, 3) /* Add/Sub Int, Sto 4, Ret */                   \
  X(fxAddIntSto, 2) X(fxSubIntSto, 2) /* Add/Sub Int, Sto 4 */                               \
  X(fxCallLinks, 5)    /* fxIncSPLoadMP, then fxPushLinks */                                  \
  X(fxIncSPLoadMP, 3)  /* IncSP n PushMP Deref m: a function's result slot and static link */ \
  X(fxCopyLocalJump, 7) X(fxCopyLocal, 6) /* PushMP IncInt x PushMP IncInt y Deref n Sto n [Jump t] */ \
  X(fxFieldIncSto, 8) X(fxFieldSto, 7) /* x := p^.f: PushMP IncInt x PushMP IncInt p Deref 4 */ \
                       /* [IncInt c] Deref n Sto n */                                         \
  X(fxStoIncField, 8) X(fxStoField, 7) /* p^.f := y: PushMP IncInt p Deref 4 [IncInt c] */     \
                       /* PushMP IncInt y Deref n Sto n */                                    \
  X(fxDotLoop, 5)      /* the body of FOR k ... DO s := s + x[..] * y[..] (DotLoop.h), then */ \
                       /* on as fxLocalAddrLoad */                                            \
  X(fxLocalAddrLoad, 5) /* PushMP IncInt k PushMP IncInt j Deref n */                        \
  X(fxMulAddReal, 2)   /* Mul Real Add Real */                                               \
  X(fxLocalsAddInt, 7) X(fxLocalsSubInt, 7) X(fxLocalsMulInt, 7)                             \
  X(fxLocalsAddReal, 7) X(fxLocalsSubReal, 7) X(fxLocalsMulReal, 7) X(fxLocalsDivReal, 7)    \
                       /* PushMP IncInt k Deref n PushMP IncInt j Deref n, an operator */   \
  X(fxLoadLocalInc, 4) /* PushMP IncInt k Deref 4 IncInt c */                                \
  X(fxLoadField, 5)    /* PushMP IncInt k Deref 4 IncInt c Deref n */                        \
  X(fxLoadIndirect, 4) /* PushMP IncInt k Deref 4 Deref n */                                 \
  X(fxConstDivInt, 2) X(fxConstModInt, 2) /* PushInt c (not 0), Div/Mod Int */               \
  X(fxElemAddrInc, 9) /* PushMP IncInt k PushMP IncInt j Deref 4 IncInt c PushInt m Mul Int Add Int */ \
  X(fxElemAddr, 8)   /* PushMP IncInt k PushMP IncInt j Deref 4 PushInt m Mul Int Add Int */ \
  X(fxIncLocal, 7)   /* PushMP IncInt k PushMP IncInt k Deref 4 IncInt c Sto 4 */             \
  X(fxForGEJ, 6) X(fxForLEJ, 6) /* Dup 4 PushMP IncInt k Deref 4 GE/LE Int JifF t */          \
  X(fxLoadLocalAddInt, 4) X(fxLoadLocalSubInt, 4) X(fxLoadLocalMulInt, 4)                    \
  X(fxLoadLocalAddReal, 4) X(fxLoadLocalSubReal, 4) X(fxLoadLocalMulReal, 4)                 \
  X(fxLoadLocalDivReal, 4)  /* PushMP IncInt k Deref 4/8 and an operator */                  \
  X(fxConstToReal, 2)       /* PushInt c IntToReal */                                        \
  X(fxStoConstInt, 2)  /* PushInt c Sto 4 */                                                 \
  X(fxStoConstBool, 2) /* PushBool b Sto 1 */                                                \
  X(fxLoadLocalLTIntJ, 5) X(fxLoadLocalLEIntJ, 5) X(fxLoadLocalGTIntJ, 5)                     \
  X(fxLoadLocalGEIntJ, 5) X(fxLoadLocalEQIntJ, 5) X(fxLoadLocalNEIntJ, 5)                     \
                     /* PushMP IncInt k Deref 4, compare, JifF t */                          \
  X(fxLoadLocalJifF, 4)     /* PushMP IncInt k Deref 1 JifF t */                             \
  X(fxStoreLocalInt, 4)     /* PushMP IncInt k PushInt c Sto 4 */                            \
  X(fxStoreLocalBool, 4)    /* PushMP IncInt k PushBool b Sto 1 */                           \
  X(fxIncMulAdd, 4)         /* IncInt c PushInt m Mul Int Add Int */                         \
  X(fxConstMulAdd, 3)       /* PushInt m Mul Int Add Int */                                  \
  X(fxLoadLocal, 3)  /* PushMP IncInt k Deref n */                                           \
  X(fxLoadMP, 2)     /* PushMP Deref n */                                                    \
  X(fxLocalAddr, 2)  /* PushMP IncInt k */                                                   \
  X(fxNotJifF, 2)    /* Not Bool JifF t */                                                   \
  X(fxLTIntJ, 2) X(fxLEIntJ, 2) X(fxGTIntJ, 2) X(fxGEIntJ, 2) X(fxEQIntJ, 2) X(fxNEIntJ, 2) \
  X(fxLTRealJ, 2) X(fxLERealJ, 2) X(fxGTRealJ, 2) X(fxGERealJ, 2) X(fxEQRealJ, 2)         \
  X(fxNERealJ, 2)                                                                            \
  X(fxConstLTIntJ, 3) X(fxConstLEIntJ, 3) X(fxConstGTIntJ, 3) X(fxConstGEIntJ, 3)            \
  X(fxConstEQIntJ, 3) X(fxConstNEIntJ, 3)                                                    \
  X(fxConstAddInt, 2) X(fxConstSubInt, 2) X(fxConstMulInt, 2) X(fxConstAndInt, 2)            \
  X(fxConstOrInt, 2) X(fxConstXorInt, 2) X(fxConstShlInt, 2) X(fxConstShrInt, 2)

namespace uvm {

enum TFused : std::uint16_t {
  fxNone = 0,
  // Numbered after the opcodes so that a switch can tell both apart.
  fxFirst = 100,
#define ULVAN_FUSED_ENUM(e, len) e,
  fxBefore = fxFirst - 1,
  ULVAN_FUSED(ULVAN_FUSED_ENUM)
#undef ULVAN_FUSED_ENUM
  fxEnd
};

constexpr int FusedCount = fxEnd - fxFirst;

// An opcode that no sequence matches. The decoder writes it over the opcodes of stop PCs (the
// instructions before which a debugger's run stops), so that no superinstruction covers one of
// them: the matcher must compare the opcode of every instruction it covers, jump targets included.
constexpr std::uint8_t StopBarrier = 0xFF;

// The superinstruction that starts at instruction i of a program with `count` instructions, given
// their opcodes and integer operands, or fxNone.
TFused FindFused(const std::uint8_t *ops, const std::int32_t *operands, std::int32_t i, std::int32_t count);

}  // namespace uvm
