#include "discovery/node_list_refresh.h"

#include <string>
#include <vector>

void RefreshNodeList(NodeListView& spareList, NodeListView& nodeList,
                     const NodeRegistry& registry) {
    spareList.DeleteAllItems();
    nodeList.Hide();
    nodeList.DeleteAllItems();
    nodeList.Show();
    std::vector<std::string> names;
    registry.ForEach([&names](const NodeRecord& record) { names.emplace_back(record.name); });
    int position = 0;
    for (const std::string& name : names) {
        nodeList.InsertItem(position++, name.c_str());
    }
}
