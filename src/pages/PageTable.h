#pragma once

#include <functional>
#include <vector>

class IPageHost;
class TPageFrame;

// The pages the tool has, in tag order: from this table the main window
// creates its pages, fills the page list and runs its all-page actions.
struct TPageInfo {
    int Tag;
    std::function<TPageFrame*(IPageHost& host)> Create;
};

const std::vector<TPageInfo>& PageTable();
