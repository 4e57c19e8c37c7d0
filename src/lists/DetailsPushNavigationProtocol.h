// What a screen owning navigation rows answers: a tapped row, from which it
// creates the page and pushes it.
#pragma once

#include <memory>

class DetailsNavigationDataModel;

class DetailsPushNavigationProtocol {
public:
    virtual ~DetailsPushNavigationProtocol() = default;
    virtual void pushNavigationWithDetailsDataModel(const std::shared_ptr<DetailsNavigationDataModel>& model) = 0;
};
