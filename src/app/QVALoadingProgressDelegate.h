// What a screen shown during a meeting's first download hears about it: the
// fraction done, and that its progress display should go (the download is
// not its business, as when the help screen reopens the start tutorial).
// Main thread only.
#pragma once

class QVALoadingProgressDelegate {
public:
    virtual ~QVALoadingProgressDelegate() = default;
    // fraction: 0 to 1 (the loader's single-precision ratio, widened).
    virtual void progressAt(double fraction) = 0;
    virtual void hideProgressBar() = 0;
};
