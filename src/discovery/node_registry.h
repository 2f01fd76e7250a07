// The one list of machines that answered the latest subnet probe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <mutex>
#include <optional>

// One found machine, exactly as the probe recorded it. Plain 100-byte record: the texts are
// zero-terminated byte strings in the system's code page, zero-filled to the end of the field.
struct NodeRecord {
    std::int32_t index; // taken from NextNodeIndex when the connection was established
    char address[32];   // dotted decimal, at most 31 characters
    char name[64];      // the agent's bytes as sent, at most 63, empty when it sent nothing
};
static_assert(sizeof(NodeRecord) == 100, "a node record is 100 bytes");
static_assert(offsetof(NodeRecord, index) == 0);
static_assert(offsetof(NodeRecord, address) == 4);
static_assert(offsetof(NodeRecord, name) == 36);

// Ordered by appending, addresses unique, guarded by one lock taken by every operation.
// Readers get copies: the next Clear frees the records.
class NodeRegistry {
public:
    // Removes every record. NextNodeIndex is not reset.
    void Clear();

    // Hands out NextNodeIndex and advances it; each value is handed out once.
    std::int32_t TakeIndex();

    // Appends a copy unless a record with the same address text is present.
    bool AppendIfNew(const NodeRecord& record);

    // Calls visit(const NodeRecord&) for each record in order, with the lock held across the
    // walk. The visitor must not call back into the registry nor wait for another thread.
    template <typename Visitor> void ForEach(Visitor&& visit) const {
        std::lock_guard<std::mutex> hold(lock_);
        for (const NodeRecord& record : records_) {
            visit(record);
        }
    }

    // The first record whose name equals the text byte for byte.
    std::optional<NodeRecord> FindByName(const char* name) const;

    // The record whose address equals the text byte for byte.
    std::optional<NodeRecord> FindByAddress(const char* address) const;

    std::size_t Count() const;
    std::int32_t NextNodeIndex() const;

private:
    mutable std::mutex lock_;
    std::list<NodeRecord> records_;
    std::int32_t nextNodeIndex_ = 0;
};

// The process-wide registry.
NodeRegistry& TheNodeRegistry();
