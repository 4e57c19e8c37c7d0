// One row of the More tab: its title (also what a tap is told apart by), the
// picture shown beside it, whether it goes dark while the network is down,
// and the segue a tap performs.
#pragma once

#include <string>

class MoreCellDataModel {
public:
    MoreCellDataModel(std::string title, std::string image, bool disableOnNetConnClosed, std::string segId)
        : moreSectionTitle_(std::move(title)),
          moreSectionImage_(std::move(image)),
          disableOnNetConnClosed_(disableOnNetConnClosed),
          moreSectionSeg_(std::move(segId)) {}

    const std::string& moreSectionTitle() const { return moreSectionTitle_; }
    const std::string& moreSectionImage() const { return moreSectionImage_; }
    bool disableOnNetConnClosed() const { return disableOnNetConnClosed_; }
    const std::string& moreSectionSeg() const { return moreSectionSeg_; }

private:
    std::string moreSectionTitle_;
    std::string moreSectionImage_;
    bool disableOnNetConnClosed_;
    std::string moreSectionSeg_;
};
