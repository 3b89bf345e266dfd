#include "platform/gdi/GlobalMemory.h"

#include <cstring>
#include <memory>
#include <unordered_map>

namespace gdi {

namespace {

constexpr size_t kMaxBlockBytes = size_t{1} << 31;

struct TBlock {
  std::unique_ptr<uint8_t[]> Bytes;
  size_t Size = 0;
  UINT LockCount = 0;
};

struct TBlockTable {
  std::unordered_map<uintptr_t, TBlock> Blocks;
  uintptr_t Next = 0x1000;
};

// Deliberately never destroyed: blocks may be freed from static destructors.
TBlockTable& Table() {
  static auto* table = new TBlockTable;
  return *table;
}

TBlock* FindBlock(HGLOBAL block) {
  auto& blocks = Table().Blocks;
  const auto it = blocks.find(reinterpret_cast<uintptr_t>(block));
  return it == blocks.end() ? nullptr : &it->second;
}

}  // namespace

bool IsGlobalBlock(HGLOBAL block) { return FindBlock(block) != nullptr; }

}  // namespace gdi

HGLOBAL GlobalAlloc(UINT flags, size_t bytes) {
  if (bytes > gdi::kMaxBlockBytes || (flags & ~(GMEM_MOVEABLE | GMEM_ZEROINIT)) != 0) {
    return nullptr;
  }
  gdi::TBlock block;
  block.Size = bytes;
  // Always at least one byte, so a lock of an empty block still gives an address.
  block.Bytes.reset(new (std::nothrow) uint8_t[bytes ? bytes : 1]);
  if (!block.Bytes) return nullptr;
  if (flags & GMEM_ZEROINIT) std::memset(block.Bytes.get(), 0, bytes ? bytes : 1);
  gdi::TBlockTable& table = gdi::Table();
  const uintptr_t key = table.Next;
  table.Next += 0x10;
  table.Blocks.emplace(key, std::move(block));
  return reinterpret_cast<HGLOBAL>(key);
}

void* GlobalLock(HGLOBAL handle) {
  gdi::TBlock* block = gdi::FindBlock(handle);
  if (!block) return nullptr;
  ++block->LockCount;
  return block->Bytes.get();
}

// TRUE while the block stays locked, as the platform reports it.
BOOL GlobalUnlock(HGLOBAL handle) {
  gdi::TBlock* block = gdi::FindBlock(handle);
  if (!block || block->LockCount == 0) return FALSE_;
  --block->LockCount;
  return block->LockCount > 0 ? TRUE_ : FALSE_;
}

size_t GlobalSize(HGLOBAL handle) {
  const gdi::TBlock* block = gdi::FindBlock(handle);
  return block ? block->Size : 0;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
  return gdi::Table().Blocks.erase(reinterpret_cast<uintptr_t>(handle)) ? nullptr : handle;
}
