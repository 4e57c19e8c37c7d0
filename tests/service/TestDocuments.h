// Document files made on the spot for the meeting service: one-page PDFs
// written by cairo, so a person opening a served document sees a page with
// its title and text. The same arguments give the same bytes on every run.
#pragma once

#include <string>
#include <vector>

namespace testservice {

// An A4 page: the title in bold at the top, a rule under it, then each
// paragraph wrapped to the page's width. Empty when cairo fails.
std::string makePDF(const std::string& title, const std::vector<std::string>& paragraphs);

}  // namespace testservice
