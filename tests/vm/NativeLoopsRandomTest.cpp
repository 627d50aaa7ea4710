// Random loops of the instructions native loops take: expressions of every kind nested deep
// enough to run out of registers, stores to locals, to computed and to wild addresses (into
// the stack above SP, past the store's ends), IF statements inside, a FOR-style limit kept on
// the stack. Run and Step must end alike: error, registers, output and store.
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "VmTestUtil.h"

namespace {

using namespace vmtest;

constexpr std::int32_t Counter = 12;   // the loop's counter; nothing else stores there
constexpr std::int32_t Locals = 16;    // the locals the expressions use: 16..79
constexpr std::int32_t LocalsEnd = 80;

class TLoopGenerator {
 public:
  explicit TLoopGenerator(unsigned seed) : Rng(seed) {}

  TAsm Generate() {
    TAsm a;
    a.Op(ocInit).Op(ocIncSP, LocalsEnd - 12);  // SP 79
    a.Op(ocPushMP).Op(ocIncInt, Counter).Op(ocPushInt, 0).Op(ocSto, 4);
    const bool forStyle = Pick(2) == 0;
    if (forStyle) a.Op(ocPushInt, 30);  // the limit stays on the stack
    const std::int32_t head = a.Count();
    std::vector<std::int32_t> exits;
    if (forStyle) {
      a.Op(ocDup, 4).Op(ocPushMP).Op(ocIncInt, Counter).Op(ocDeref, 4).Op(ocGTInt);
      exits.push_back(a.Count());
      a.Op(ocJifF, 0);
    }
    const int statements = 1 + Pick(5);
    for (int s = 0; s < statements; ++s) Statement(a);
    a.Op(ocPushMP).Op(ocIncInt, Counter).Op(ocPushMP).Op(ocIncInt, Counter).Op(ocDeref, 4).Op(ocIncInt, 1).Op(ocSto, 4);
    if (!forStyle) {
      a.Op(ocPushMP).Op(ocIncInt, Counter).Op(ocDeref, 4).Op(ocPushInt, 30).Op(ocLTInt);
      exits.push_back(a.Count());
      a.Op(ocJifF, 0);
    }
    a.Op(ocJump, head);
    for (const std::int32_t at : exits) Patch(a, at, a.Count());
    if (forStyle) a.Op(ocIncSP, -4);
    a.Op(ocHalt);
    return a;
  }

 private:
  int Pick(int n) { return static_cast<int>(Rng() % static_cast<unsigned>(n)); }

  static void Patch(TAsm &a, std::int32_t at, std::int32_t target) {
    TInstruction i;
    a.Prog->GetInstruction(at, i);
    i.IntValue = target;
    a.Prog->SetInstruction(at, i);
  }

  // Half the time one of a few hot locals, which the translation keeps in registers.
  std::int32_t LocalOffset(int size) {
    if (size == 4 && Pick(2) == 0) return 16 + 4 * Pick(3);
    if (size == 8 && Pick(2) == 0) return 32 + 8 * Pick(2);
    return Locals + Pick((LocalsEnd - Locals - size) / size + 1) * size;
  }

  // An address: a local, an element of the locals indexed by an expression, or anywhere
  // (keeping off the counter).
  void Address(TAsm &a, int size, int depth) {
    switch (Pick(depth > 0 ? 4 : 2)) {
      case 0:
      case 1: a.Op(ocPushMP).Op(ocIncInt, LocalOffset(size)); return;
      case 2: {
        a.Op(ocPushMP).Op(ocIncInt, Locals);
        Int(a, depth - 1);
        a.Op(ocPushInt, 7).Op(ocAndInt).Op(ocPushInt, size).Op(ocMulInt).Op(ocAddInt);
        return;
      }
      default: {
        const std::int32_t wild[] = {-4, 0, 8, 76, 84, 85, 200, 63990, 63999, 64000, 70000};
        std::int32_t at = wild[Pick(static_cast<int>(std::size(wild)))];
        // Not over the counter or a FOR-style limit (80..83): the loop must end.
        auto overlaps = [&](std::int32_t from, std::int32_t to) { return at < to && at + size > from; };
        if (overlaps(Counter, Counter + 4) || overlaps(80, 84)) at = 0;
        a.Op(ocPushInt, at);
        return;
      }
    }
  }

  void Int(TAsm &a, int depth) {
    if (depth <= 0 || Pick(4) == 0) {
      if (Pick(2) == 0)
        a.Op(ocPushInt, Pick(3) == 0 ? static_cast<std::int32_t>(Rng()) : Pick(21) - 10);
      else {
        Address(a, 4, depth);
        a.Op(ocDeref, 4);
      }
      return;
    }
    const TOpcode binary[] = {ocAddInt, ocSubInt, ocMulInt, ocAndInt, ocOrInt, ocXorInt,
                              ocShlInt, ocShrInt, ocDivInt, ocModInt};
    switch (Pick(5)) {
      case 0:
        Int(a, depth - 1);
        a.Op(Pick(2) == 0 ? ocIncInt : Pick(2) == 0 ? ocNegInt : ocNotInt, Pick(9) - 4);
        return;
      case 1:
        Real(a, depth - 1);
        a.Op(ocRound);
        return;
      default:
        Int(a, depth - 1);
        Int(a, depth - 1);
        a.Op(binary[Pick(static_cast<int>(std::size(binary)))]);
        return;
    }
  }

  void Bool(TAsm &a, int depth) {
    if (depth <= 0 || Pick(4) == 0) {
      if (Pick(2) == 0)
        a.Bool(Pick(2) == 0);
      else {
        Address(a, 1, depth);
        a.Op(ocDeref, 1);
      }
      return;
    }
    const TOpcode intCompare[] = {ocLTInt, ocLEInt, ocGTInt, ocGEInt, ocEQInt, ocNEInt};
    const TOpcode realCompare[] = {ocLTReal, ocLEReal, ocGTReal, ocGEReal, ocEQReal, ocNEReal};
    const TOpcode boolean[] = {ocAndBool, ocOrBool, ocXorBool, ocEQBool, ocNEBool};
    switch (Pick(6)) {
      case 0:
        Bool(a, depth - 1);
        a.Op(ocNotBool);
        return;
      case 1:
        Int(a, depth - 1);
        a.Op(ocOdd);
        return;
      case 2:
        Real(a, depth - 1);
        Real(a, depth - 1);
        a.Op(realCompare[Pick(6)]);
        return;
      case 3:
        Bool(a, depth - 1);
        Bool(a, depth - 1);
        a.Op(boolean[Pick(5)]);
        return;
      default:
        Int(a, depth - 1);
        Int(a, depth - 1);
        a.Op(Pick(4) == 0 ? (Pick(2) == 0 ? ocEQ : ocNE) : intCompare[Pick(6)], 4);
        return;
    }
  }

  void Real(TAsm &a, int depth) {
    if (depth <= 0 || Pick(4) == 0) {
      switch (Pick(3)) {
        case 0: a.Real((Pick(2001) - 1000) / 8.0); return;
        case 1:
          Int(a, depth - 1);
          a.Op(ocIntToReal);
          return;
        default:
          Address(a, 8, depth);
          a.Op(ocDeref, 8);
          return;
      }
    }
    const TOpcode arith[] = {ocAddReal, ocSubReal, ocMulReal, ocDivReal};
    if (Pick(5) == 0) {
      Real(a, depth - 1);
      a.Op(ocNegReal);
      return;
    }
    if (Pick(5) == 0) {  // int op real, as the compiler writes it: the int made real under the real
      Int(a, depth - 1);
      Real(a, depth - 1);
      a.Op(ocSwapIntReal).Op(ocIntToReal).Op(ocSwap, 8).Op(arith[Pick(4)]);
      return;
    }
    Real(a, depth - 1);
    Real(a, depth - 1);
    a.Op(arith[Pick(4)]);
  }

  void Statement(TAsm &a) {
    const int depth = 1 + Pick(6);
    if (Pick(4) == 0) {  // IF condition THEN statement
      Bool(a, depth);
      const std::int32_t jump = a.Count();
      a.Op(ocJifF, 0);
      Statement(a);
      Patch(a, jump, a.Count());
      return;
    }
    switch (Pick(3)) {
      case 0:
        Address(a, 4, depth);
        Int(a, depth);
        a.Op(ocSto, 4);
        return;
      case 1:
        Address(a, 1, depth);
        Bool(a, depth);
        a.Op(ocSto, 1);
        return;
      default:
        Address(a, 8, depth);
        Real(a, depth);
        a.Op(ocSto, 8);
        return;
    }
  }

  std::mt19937 Rng;
};

TEST(NativeLoopsRandom, RunEndsAsStepOnRandomLoops) {
  int native = 0, ended = 0;
  constexpr int Programs = 1000;
  // ULVAN_LOOP_SEED=N starts at seed N instead, to sweep or replay other programs.
  const char *from = std::getenv("ULVAN_LOOP_SEED");
  const unsigned FirstSeed = from != nullptr ? static_cast<unsigned>(std::strtoul(from, nullptr, 10)) : 1;
  for (unsigned seed = FirstSeed; seed <= FirstSeed + Programs - 1; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    TLoopGenerator generator(seed);
    const TAsm a = generator.Generate();
    if (NativeLoopCount(a.Prog) > 0) ++native;
    if (RunBoth(a.Prog).Error.empty()) ++ended;
    if (HasFailure()) break;
  }
#if defined(__x86_64__) && defined(__linux__)
  EXPECT_EQ(native, Programs);  // every loop generated is one the translation takes
#endif
  EXPECT_GT(ended, Programs / 10);  // and enough of them run all their rounds
}

}  // namespace
