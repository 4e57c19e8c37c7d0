#include "uikit/UIWebView.h"

#include "foundation/FileManager.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/RunLoop.h"
#include "foundation/StringUtils.h"
#include "foundation/URLErrors.h"
#include "foundation/URLSession.h"
#include "graphics/MutablePath.h"
#include "uikit/HTMLText.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/UIFont.h"
#include "uikit/UIScrollView.h"

namespace uikit {

namespace {

void requireMainForWebView() { foundation::requireMainThread("UIWebView must be used from the main thread only"); }

// Collects one fetch on the session's delegate queue and hands the outcome to
// the main loop when the task completes.
class FetchDelegate : public foundation::URLSessionDataDelegate {
public:
    using Completion = std::function<void(std::shared_ptr<foundation::URLResponse>, foundation::Data, foundation::ErrorPtr)>;
    explicit FetchDelegate(Completion completion) : completion_(std::move(completion)) {}

    void didReceiveData(const foundation::URLSessionPtr&, const foundation::URLSessionDataTaskPtr&,
                        const foundation::Data& data) override {
        body_.append(data);
    }
    void didCompleteWithError(const foundation::URLSessionPtr&, const foundation::URLSessionTaskPtr& task,
                              const foundation::ErrorPtr& error) override {
        foundation::RunLoop::main().post(
            [completion = completion_, response = task->response(), body = std::move(body_), error]() mutable {
                completion(std::move(response), std::move(body), error);
            });
    }

private:
    Completion completion_;
    foundation::Data body_;
};

std::string schemeOf(const foundation::URL& url) {
    return foundation::StringUtils::lowercase(url.scheme().value_or(std::string()));
}

}  // namespace

UIWebView::UIWebView(const graphics::Rect& frame)
    : UIView(frame), scrollView_(std::make_shared<UIScrollView>(graphics::Rect{{0, 0}, frame.size})) {
    scrollView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
}

void UIWebView::attachScrollView() const {
    // A view not yet owned by a shared_ptr cannot be a superview.
    auto* self = const_cast<UIWebView*>(this);
    if (scrollView_->superview() || self->weak_from_this().expired()) return;
    self->insertSubviewAtIndex(scrollView_, 0);
    scrollView_->setFrame({{0, 0}, bounds().size});
}

UIScrollView& UIWebView::scrollView() {
    attachScrollView();
    return *scrollView_;
}

const UIScrollView& UIWebView::scrollView() const {
    attachScrollView();
    return *scrollView_;
}

void UIWebView::layoutSubviews() {
    attachScrollView();
    scrollView_->setFrame({{0, 0}, bounds().size});
}

void UIWebView::didMoveToSuperview() { attachScrollView(); }

UIWebView::~UIWebView() {
    if (task_) task_->cancel();
}

void UIWebView::loadRequest(const foundation::URLRequest& request) {
    start({request, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
          UIWebViewNavigationType::Other);
}

void UIWebView::loadHTMLString(const std::string& html, const std::optional<foundation::URL>& baseURL) {
    start({std::nullopt, html, std::nullopt, std::string("text/html"), std::string("utf-8"), baseURL},
          UIWebViewNavigationType::Other);
}

void UIWebView::loadData(const foundation::Data& data, const std::string& MIMEType, const std::string& textEncodingName,
                         const std::optional<foundation::URL>& baseURL) {
    start({std::nullopt, std::nullopt, data, MIMEType, textEncodingName, baseURL}, UIWebViewNavigationType::Other);
}

bool UIWebView::clickLink(const std::string& url) {
    auto target = baseURL_ ? foundation::URL::URLWithString(url, *baseURL_) : foundation::URL::URLWithString(url);
    if (!target) return false;
    return start({foundation::URLRequest(*target), std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
                 UIWebViewNavigationType::LinkClicked);
}

void UIWebView::reload() {
    if (request_) start({request_, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
                        UIWebViewNavigationType::Reload);
    else if (html_) start({std::nullopt, html_, std::nullopt, mimeType_, textEncodingName_, baseURL_},
                          UIWebViewNavigationType::Reload);
    else if (data_) start({std::nullopt, std::nullopt, data_, mimeType_, textEncodingName_, baseURL_},
                          UIWebViewNavigationType::Reload);
}

void UIWebView::stopLoading() {
    requireMainForWebView();
    cancelTask();
    ++generation_;
    loading_ = false;
}

void UIWebView::cancelTask() {
    if (task_) task_->cancel();
    task_.reset();
}

bool UIWebView::start(Content content, UIWebViewNavigationType navigationType) {
    requireMainForWebView();
    // What the delegate is asked about: the request, else the base URL, else a blank page.
    foundation::URLRequest asked = content.request ? *content.request
                                   : content.baseURL ? foundation::URLRequest(*content.baseURL)
                                                     : foundation::URLRequest(*foundation::URL::URLWithString("about:blank"));
    if (auto delegate = delegate_.lock();
        delegate && !delegate->webViewShouldStartLoadWithRequest(*this, asked, navigationType))
        return false;

    cancelTask();
    uint64_t generation = ++generation_;
    request_ = content.request;
    html_ = std::move(content.html);
    data_ = std::move(content.data);
    mimeType_ = std::move(content.mimeType);
    textEncodingName_ = std::move(content.textEncodingName);
    baseURL_ = content.request ? content.request->url() : content.baseURL;
    response_.reset();
    lastError_.reset();
    loading_ = true;
    later(generation, [](UIWebView& view) {
        if (auto delegate = view.delegate_.lock()) delegate->webViewDidStartLoad(view);
    });

    if (!content.request) {
        later(generation, [generation](UIWebView& view) { view.finish(generation, nullptr); });
        return true;
    }
    const auto& url = content.request->url();
    std::string scheme = url ? schemeOf(*url) : std::string();
    if (scheme == "http" || scheme == "https") {
        fetch(*content.request, generation);
    } else if (scheme == "about") {
        later(generation, [generation](UIWebView& view) { view.finish(generation, nullptr); });
    } else if (scheme == "file") {
        auto path = url->path();
        foundation::ErrorPtr error;
        if (auto bytes = foundation::FileManager::defaultManager().contentsAtPath(path)) data_ = std::move(*bytes);
        else error = foundation::makeURLError(foundation::URLError::FileDoesNotExist, url->absoluteString());
        later(generation, [generation, error](UIWebView& view) { view.finish(generation, error); });
    } else {
        auto error = url ? foundation::makeURLError(foundation::URLError::UnsupportedURL, url->absoluteString())
                         : foundation::makeURLError(foundation::URLError::BadURL, std::string());
        later(generation, [generation, error](UIWebView& view) { view.finish(generation, error); });
    }
    return true;
}

void UIWebView::fetch(const foundation::URLRequest& request, uint64_t generation) {
    std::weak_ptr<UIWebView> weakView = std::static_pointer_cast<UIWebView>(shared_from_this());
    auto delegate = std::make_shared<FetchDelegate>(
        [weakView, generation](std::shared_ptr<foundation::URLResponse> response, foundation::Data body,
                               foundation::ErrorPtr error) {
            auto view = weakView.lock();
            if (!view || view->generation_ != generation) return;
            view->task_.reset();
            if (!error) {
                view->response_ = response;
                view->data_ = std::move(body);
                if (response) {
                    view->mimeType_ = response->MIMEType();
                    view->textEncodingName_ = response->textEncodingName();
                }
            }
            view->finish(generation, error);
        });
    auto session = foundation::URLSession::sessionWithConfiguration(
        foundation::URLSessionConfiguration::defaultSessionConfiguration(), delegate);
    task_ = session->dataTaskWithRequest(request);
    task_->resume();
    // The session lets its delegate go once this task has completed.
    session->finishTasksAndInvalidate();
}

void UIWebView::finish(uint64_t generation, foundation::ErrorPtr error) {
    if (generation != generation_ || !loading_) return;
    // Kept alive: the delegate may drop the view.
    auto self = weak_from_this().lock();
    loading_ = false;
    lastError_ = error;
    auto delegate = delegate_.lock();
    if (!delegate) return;
    if (error) delegate->webViewDidFailLoadWithError(*this, error);
    else delegate->webViewDidFinishLoad(*this);
}

void UIWebView::later(uint64_t generation, std::function<void(UIWebView&)> step) {
    std::weak_ptr<UIWebView> weakView = std::static_pointer_cast<UIWebView>(shared_from_this());
    foundation::RunLoop::main().post([weakView, generation, step = std::move(step)] {
        auto view = weakView.lock();
        if (view && view->generation_ == generation) step(*view);
    });
}

std::vector<std::string> UIWebView::linkURLs() const {
    std::vector<std::string> links;
    if (!html_) return links;
    const std::string& html = *html_;
    // ASCII folding only, so that offsets in both texts agree.
    std::string lower = html;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    size_t at = 0;
    while ((at = lower.find("href", at)) != std::string::npos) {
        size_t i = at + 4;
        while (i < html.size() && (html[i] == ' ' || html[i] == '\t')) ++i;
        if (i >= html.size() || html[i] != '=') {
            at = i;
            continue;
        }
        ++i;
        while (i < html.size() && (html[i] == ' ' || html[i] == '\t')) ++i;
        if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
            char quote = html[i];
            size_t end = html.find(quote, i + 1);
            if (end == std::string::npos) break;
            links.push_back(html.substr(i + 1, end - i - 1));
            at = end + 1;
        } else {
            size_t end = html.find_first_of(" \t\n>", i);
            links.push_back(html.substr(i, end == std::string::npos ? std::string::npos : end - i));
            at = end == std::string::npos ? html.size() : end;
        }
    }
    return links;
}

void UIWebView::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    // A page without a background of its own shows what lies beneath a web
    // view made clear (the login notes' white text on the screen's picture);
    // any other web view shows a light page.
    const auto& background = backgroundColor();
    if (!background || background->alpha() > 0) {
        graphics::MutablePath page;
        page.addRect(rect);
        context->fillPath(page, graphics::Color::gray(0.98));
    }
    // The page's margins.
    const graphics::Rect area{rect.origin.x + 8, rect.origin.y + 8, rect.size.width - 16, rect.size.height - 8};
    if (request_ && request_->url()) {
        auto lines = NSStringDrawing::layOut(request_->url()->absoluteString(), UIFont::systemFontOfSize(15),
                                             area.size.width, 2);
        NSStringDrawing::drawLines(*context, lines, area, NSTextAlignment::Left, graphics::Color::gray(0.2));
    } else if (html_) {
        const NSAttributedString text = attributedStringFromHTML(*html_);
        const auto lines = NSStringDrawing::layOut(text, area.size.width);
        NSStringDrawing::drawAttributedLines(*context, text, lines, area, NSTextAlignment::Left,
                                             graphics::Color::black());
    }
}

}  // namespace uikit
