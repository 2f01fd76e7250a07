// Rewriting the console's node list from the registry.
#pragma once

#include "discovery/node_registry.h"

// A list the refresh can clear and fill: the console implements it with list-view messages
// to its controls, tests with a recording fake.
class NodeListView {
public:
    virtual ~NodeListView() = default;
    virtual void DeleteAllItems() = 0;
    virtual void Hide() = 0;
    virtual void Show() = 0;
    // Inserts an item with the text (an empty text gives an item without text) and image 0.
    virtual void InsertItem(int position, const char* text) = 0;
};

// Empties the spare list, hides, empties and shows the node list, then inserts one item per
// record in registry order. The names are copied under the registry's lock and the list is
// filled only after it has been released, so no window message is sent while it is held.
void RefreshNodeList(NodeListView& spareList, NodeListView& nodeList, const NodeRegistry& registry);
