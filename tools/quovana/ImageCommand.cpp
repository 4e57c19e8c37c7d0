// "image URL [--no-inflate] [--scale N] [--png FILE]": fetches an address
// through an HTTP request operation with an image response serializer, as
// the image views do, and prints what the serializer made of the body; the
// (first) bitmap can be written as PNG for a person to look at. The request
// is the screens' own: the account's token goes with it to the service's
// origin, and nowhere else.
#include <optional>
#include <ostream>
#include <string>

#include "api/QVAApiManager.h"
#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "graphics/DecodedImage.h"
#include "http/QNHTTPRequestOperation.h"
#include "http/QNImageResponseSerializer.h"
#include "quovana/Commands.h"
#include "quovana/OptionsGivenOnce.h"
#include "uikit/UIImage.h"

namespace quovana {

namespace {

struct ImageArguments {
    std::optional<std::string> address;
    std::optional<std::string> pngPath;
    bool inflate = true;
    double scale = 1;
    std::optional<foundation::URL> url;
};

std::string parseImageArguments(const Arguments& arguments, ImageArguments& parsed) {
    const char* usage = "usage: image URL [--no-inflate] [--scale N] [--png FILE]";
    OptionsGivenOnce once;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool hasValue = i + 1 < arguments.size();
        if (argument.rfind("--", 0) == 0)
            if (std::string repeated = once.repeated(argument); !repeated.empty()) return repeated;
        if (argument == "--no-inflate") {
            parsed.inflate = false;
        } else if (argument == "--scale" && hasValue) {
            const std::string& text = arguments[++i];
            try {
                size_t used = 0;
                parsed.scale = std::stod(text, &used);
                if (used != text.size() || !(parsed.scale > 0)) return "--scale needs a number above 0";
            } catch (const std::exception&) {
                return "--scale needs a number above 0";
            }
        } else if (argument == "--png" && hasValue) {
            parsed.pngPath = arguments[++i];
        } else if (argument.rfind("--", 0) == 0 || parsed.address) {
            return usage;
        } else {
            parsed.address = argument;
        }
    }
    if (!parsed.address) return usage;
    parsed.url = foundation::URL::URLWithString(*parsed.address);
    if (!parsed.url || (parsed.url->scheme() != "http" && parsed.url->scheme() != "https"))
        return "the address must be an http or https URL; got \"" + *parsed.address + "\"";
    return {};
}

}  // namespace

std::string imageUsageProblem(const Arguments& arguments) {
    ImageArguments parsed;
    return parseImageArguments(arguments, parsed);
}

int runImageCommand(CommandContext& context, const Arguments& arguments) {
    ImageArguments parsed;
    if (std::string problem = parseImageArguments(arguments, parsed); !problem.empty()) return context.usage(problem);
    const auto& [address, pngPath, inflate, scale, url] = parsed;

    auto serializer = QNImageResponseSerializer::serializer();
    serializer->setImageScale(scale);
    serializer->setAutomaticallyInflatesResponseImage(inflate);
    auto request = QVAApiManager::sharedApiManager().imageRequestForAddress(*address);
    if (!request) return context.usage("the address must be an http or https URL; got \"" + *address + "\"");
    auto operation = QNHTTPRequestOperation::operationWithRequest(*request);
    operation->setResponseSerializer(serializer);
    auto outcome = context.await([&](auto completion) {
        operation->setCompletionBlockWithSuccess(
            [completion](const QNHTTPRequestOperationPtr&, const foundation::Value& image) { completion(nullptr, image); },
            [completion](const QNHTTPRequestOperationPtr&, const foundation::ErrorPtr& error) {
                completion(error, foundation::Value());
            });
        operation->start();
    });
    if (!outcome) return context.fail("no answer from " + *address);
    if (outcome->error) return context.fail(describeError(outcome->error));
    auto image = outcome->result.objectAs<uikit::UIImage>();
    if (!image || !image->decodedImage()) return context.fail("the body of " + *address + " is not an image");

    const graphics::DecodedImage& decoded = *image->decodedImage();
    auto response = operation->response();
    auto& out = context.out();
    out << "MIME type: " << (response && response->MIMEType() ? *response->MIMEType() : "(none)") << "\n";
    out << "size: " << decoded.width << " x " << decoded.height << " pixels\n";
    out << "scale: " << image->scale() << "\n";
    out << "bits per component: " << decoded.bitsPerComponent << "\n";
    out << "inflated: " << (decoded.drawn ? "yes" : "no") << "\n";
    out << "frames: " << (image->images().empty() ? 1 : image->images().size()) << "\n";
    if (pngPath) {
        auto bitmap = decoded.bitmap();
        if (!bitmap) return context.fail("the image has no pixels to write");
        if (auto error = bitmap->writePNG(*pngPath)) return context.fail(error->localizedDescription());
        out << "wrote " << *pngPath << "\n";
    }
    return kExitSuccess;
}

}  // namespace quovana
