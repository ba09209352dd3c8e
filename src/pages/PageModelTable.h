#pragma once

#include <functional>
#include <memory>
#include <vector>

class IPageHost;
class TPageModel;

// The settings pages' models without widgets, in tag order: from this table
// the command line makes the pages it reads, writes and compares. The
// window's frames make the same models for themselves.
struct TPageModelInfo {
    int Tag;
    std::function<TPageModel*(IPageHost& host)> Create;
};

const std::vector<TPageModelInfo>& PageModelTable();

// Every settings page's model, made and initialised as the window makes
// its pages (before any panel is there), in tag order.
std::vector<std::unique_ptr<TPageModel>> CreatePageModels(IPageHost& host);
