#include "discovery/node_registry.h"

#include <cstring>

namespace {

// Whole zero-terminated texts, byte for byte. A field always holds its terminator, so
// comparing up to the field's width decides equality even for longer query texts.
template <std::size_t N> bool FieldEquals(const char (&field)[N], const char* text) {
    return std::strncmp(field, text, N) == 0;
}

} // namespace

void NodeRegistry::Clear() {
    std::lock_guard<std::mutex> hold(lock_);
    records_.clear();
}

std::int32_t NodeRegistry::TakeIndex() {
    std::lock_guard<std::mutex> hold(lock_);
    return nextNodeIndex_++;
}

bool NodeRegistry::AppendIfNew(const NodeRecord& record) {
    std::lock_guard<std::mutex> hold(lock_);
    for (const NodeRecord& present : records_) {
        if (std::strncmp(present.address, record.address, sizeof present.address) == 0) {
            return false;
        }
    }
    records_.push_back(record);
    return true;
}

std::optional<NodeRecord> NodeRegistry::FindByName(const char* name) const {
    std::lock_guard<std::mutex> hold(lock_);
    for (const NodeRecord& record : records_) {
        if (FieldEquals(record.name, name)) {
            return record;
        }
    }
    return std::nullopt;
}

std::optional<NodeRecord> NodeRegistry::FindByAddress(const char* address) const {
    std::lock_guard<std::mutex> hold(lock_);
    for (const NodeRecord& record : records_) {
        if (FieldEquals(record.address, address)) {
            return record;
        }
    }
    return std::nullopt;
}

std::size_t NodeRegistry::Count() const {
    std::lock_guard<std::mutex> hold(lock_);
    return records_.size();
}

std::int32_t NodeRegistry::NextNodeIndex() const {
    std::lock_guard<std::mutex> hold(lock_);
    return nextNodeIndex_;
}

NodeRegistry& TheNodeRegistry() {
    // Never destroyed: probe and rescan threads are not joined and may still use it while
    // the process ends.
    static NodeRegistry* registry = new NodeRegistry;
    return *registry;
}
