// An undirected edge of the walkable graph: the rows of its two nodes in the
// distance matrix and the distance between them in drawing units.
#pragma once

#include <cstdint>

#include "foundation/Object.h"

class EdgeObject : public foundation::Object {
public:
    int32_t indexFromPoint() const { return indexFromPoint_; }
    void setIndexFromPoint(int32_t value) { indexFromPoint_ = value; }
    int32_t indexToPoint() const { return indexToPoint_; }
    void setIndexToPoint(int32_t value) { indexToPoint_ = value; }
    double distanceBetweenPoints() const { return distanceBetweenPoints_; }
    void setDistanceBetweenPoints(double value) { distanceBetweenPoints_ = value; }

    std::string className() const override { return "EdgeObject"; }

private:
    int32_t indexFromPoint_ = 0;
    int32_t indexToPoint_ = 0;
    double distanceBetweenPoints_ = 0;
};
