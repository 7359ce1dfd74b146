#pragma once
// An ordered list of plain values (handles, record pointers, addresses), each value at most once,
// with a re-entrant lock of its own: every operation is atomic with respect to the others. The
// list never releases what its values point to.

#include <cstdint>
#include <list>
#include <mutex>
#include <unordered_set>

struct AddpList {
    std::recursive_mutex lock;
    std::list<std::uintptr_t> nodes;
    // The same values, so that the at-most-once check costs the same however long the list is.
    std::unordered_set<std::uintptr_t> members;
};

// A new empty list; nullptr when memory cannot be had.
AddpList* AddpListCreate();
void AddpListDestroy(AddpList* list);

// The new node's index (the count before appending), or -1 when the value is already listed or
// no node can be allocated.
int AddpListAppend(AddpList* list, std::uintptr_t value);
// The first value, unlinked; 0 when the list is empty.
std::uintptr_t AddpListPopFront(AddpList* list);
void AddpListRemove(AddpList* list, std::uintptr_t value);
bool AddpListContains(AddpList* list, std::uintptr_t value);
// -1 when there is no list.
int AddpListCount(AddpList* list);
// The value at the index; 0 when the index is outside the list.
std::uintptr_t AddpListAt(AddpList* list, int index);
void AddpListClear(AddpList* list);
