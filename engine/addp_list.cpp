#include "engine/addp_list.h"

#include <algorithm>
#include <new>

AddpList* AddpListCreate() { return new (std::nothrow) AddpList; }

void AddpListDestroy(AddpList* list) {
    if (list == nullptr) return;
    AddpListClear(list);
    delete list;
}

int AddpListAppend(AddpList* list, std::uintptr_t value) {
    if (list == nullptr) return -1;
    std::lock_guard guard(list->lock);
    if (AddpListContains(list, value)) return -1;
    const int index = AddpListCount(list);
    try {
        list->members.insert(value);
        list->nodes.push_back(value);
    } catch (const std::bad_alloc&) {
        list->members.erase(value);  // the value was not listed before, so this undoes only our insert
        return -1;
    }
    return index;
}

std::uintptr_t AddpListPopFront(AddpList* list) {
    if (list == nullptr) return 0;
    std::lock_guard guard(list->lock);
    if (list->nodes.empty()) return 0;
    const std::uintptr_t value = list->nodes.front();
    list->nodes.pop_front();
    list->members.erase(value);
    return value;
}

void AddpListRemove(AddpList* list, std::uintptr_t value) {
    if (list == nullptr) return;
    std::lock_guard guard(list->lock);
    if (list->members.erase(value) == 0) return;
    list->nodes.erase(std::find(list->nodes.begin(), list->nodes.end(), value));
}

bool AddpListContains(AddpList* list, std::uintptr_t value) {
    if (list == nullptr) return false;
    std::lock_guard guard(list->lock);
    return list->members.contains(value);
}

int AddpListCount(AddpList* list) {
    if (list == nullptr) return -1;
    std::lock_guard guard(list->lock);
    return static_cast<int>(list->nodes.size());
}

std::uintptr_t AddpListAt(AddpList* list, int index) {
    if (list == nullptr) return 0;
    std::lock_guard guard(list->lock);
    if (index < 0 || index >= AddpListCount(list)) return 0;
    return *std::next(list->nodes.begin(), index);
}

void AddpListClear(AddpList* list) {
    if (list == nullptr) return;
    std::lock_guard guard(list->lock);
    while (AddpListCount(list) > 0) AddpListPopFront(list);
}
