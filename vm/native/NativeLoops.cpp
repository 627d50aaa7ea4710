#include "NativeLoops.h"

#include <cstring>
#include <map>

#include "Instruction.h"
#include "LoopTranslator.h"

#if defined(__x86_64__) && defined(__linux__) && !defined(ULVAN_NO_NATIVE_LOOPS)
#include <sys/mman.h>
#define ULVAN_NATIVE_LOOPS 1
#else
#define ULVAN_NATIVE_LOOPS 0
#endif

namespace uvm {

namespace {
// Bounds on the work of a decode: loops longer than this stay with the run loop, and so does
// everything past the total.
constexpr std::int32_t MaxLoopLength = 4096;
constexpr std::int64_t MaxTotalLength = 1 << 18;
// Breakpoint bytes before each loop's code: nothing jumps there, and a sanitizer that reads a
// signature before a called function finds no match rather than the end of a mapping.
constexpr std::size_t Padding = 16;
}  // namespace

std::unique_ptr<TNativeLoops> TNativeLoops::Compile(const std::uint8_t *ops, const std::int32_t *operands,
                                                    const std::uint64_t *reals, std::int32_t count,
                                                    const std::vector<bool> &barrier) {
#if ULVAN_NATIVE_LOOPS
  // Each loop is a head and the last jump back to it.
  std::map<std::int32_t, std::int32_t> loops;
  for (std::int32_t i = 0; i < count; ++i) {
    if (ops[i] != ocJump && ops[i] != ocJifF) continue;
    const std::int32_t to = operands[i];
    if (to < 0 || to > i || i - to >= MaxLoopLength) continue;
    auto [it, added] = loops.emplace(to, i);
    if (!added && it->second < i) it->second = i;
  }
  std::vector<std::pair<std::int32_t, std::vector<std::uint8_t>>> codes;
  std::size_t total = 0;
  std::int64_t translated = 0;
  TLoopTranslator translator(ops, operands, reals, count);
  for (const auto &[head, last] : loops) {
    if (translated + (last - head + 1) > MaxTotalLength) break;
    bool stopped = false;
    if (!barrier.empty())
      for (std::int32_t i = head; i <= last && !stopped; ++i) stopped = barrier[static_cast<std::size_t>(i)];
    if (stopped) continue;
    std::vector<std::uint8_t> code = translator.Translate(head, last);
    if (code.empty()) continue;
    translated += last - head + 1;
    total += Padding + code.size();
    codes.emplace_back(head, std::move(code));
  }
  if (codes.empty()) return nullptr;
  void *memory = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) return nullptr;
  std::unique_ptr<TNativeLoops> result(new TNativeLoops());
  result->Memory = memory;
  result->MemorySize = total;
  auto *at = static_cast<std::uint8_t *>(memory);
  std::vector<std::size_t> offsets;
  std::size_t offset = 0;
  std::memset(at, 0xCC, total);
  for (const auto &[head, code] : codes) {
    offset += Padding;
    std::memcpy(at + offset, code.data(), code.size());
    offsets.push_back(offset);
    offset += code.size();
  }
  if (mprotect(memory, total, PROT_READ | PROT_EXEC) != 0) return nullptr;
  for (std::size_t k = 0; k < codes.size(); ++k) {
    TNativeEntry entry;
    const void *start = at + offsets[k];
    std::memcpy(&entry, &start, sizeof entry);
    result->Entries.push_back({codes[k].first, entry});
  }
  return result;
#else
  (void)ops;
  (void)operands;
  (void)reals;
  (void)count;
  (void)barrier;
  return nullptr;
#endif
}

#if defined(__clang__)
__attribute__((no_sanitize("function")))
#endif
void RunNative(TNativeEntry entry, TNativeFrame &frame) {
  entry(&frame);
}

TNativeLoops::~TNativeLoops() {
#if ULVAN_NATIVE_LOOPS
  if (Memory != nullptr) munmap(Memory, MemorySize);
#endif
}

}  // namespace uvm
