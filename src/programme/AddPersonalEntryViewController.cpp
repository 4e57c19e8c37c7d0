#include "programme/AddPersonalEntryViewController.h"

#include "app/CustomNavigationController.h"

#include "Utils/DateHelper.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/ApplicationService.h"
#include "api/QVAApiManager.h"
#include "api/SyncCalendarService.h"
#include "Utils/UIBlockAlertView.h"
#include "coredata/ManagedObject.h"
#include "coredata/Predicate.h"
#include "foundation/Calendar.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "foundation/StringUtils.h"
#include "model/EntityClass.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVACoreDataPersonalEntry.h"
#include "model/QVAError.h"
#include "programme/ChangePersonalEntryDateViewController.h"
#include "programme/PersonalEntryDatesTableViewCell.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/FetchRequestUtils.h"
#include "store/StorageManager.h"
#include "uikit/StoryboardPopoverSegue.h"
#include "uikit/StoryboardUnwindSegue.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIImage.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITextField.h"

namespace {

constexpr const char* kSubjectOutlet = "subjectTextField";
constexpr const char* kBodyOutlet = "descriptionTextView";
constexpr const char* kPlaceholderOutlet = "descriptionPlaceholderLabel";
constexpr const char* kDatesTableOutlet = "datesTableView";
constexpr const char* kCounterOutlet = "charsCounterLabel";
constexpr const char* kSaveButtonOutlet = "saveButton";
constexpr const char* kCancelButtonOutlet = "cancelButton";
constexpr const char* kSubjectPlaceholder = "Subject";
constexpr double kOneHour = 3600;

using foundation::Date;
using Text = std::optional<std::string>;

std::string counterText(size_t length) {
    return foundation::Format(AddPersonalEntryViewController::kCounterFormat, length,
                              AddPersonalEntryViewController::kBodyLimit);
}

// The day of `day` at the hour and minute of `time`, in the meeting's zone.
std::optional<Date> dayAtTimeOf(const foundation::Calendar& calendar, Date day, Date time) {
    auto fields = calendar.components(day);
    const auto clock = calendar.components(time);
    fields.hour = clock.hour;
    fields.minute = clock.minute;
    fields.second = 0;
    return calendar.dateFromComponents(fields);
}

// The service's own text for a refusal, when it sent one.
Text serviceMessage(const foundation::ErrorPtr& error) {
    if (auto refusal = std::dynamic_pointer_cast<const QVAError>(error)) return refusal->QVAServiceErrorMessage();
    return std::nullopt;
}

Text textOf(const coredata::ManagedObject& object, const char* key) {
    auto value = object.valueForKey(key);
    if (value.isString()) return value.stringValue();
    return std::nullopt;
}

EntityClassPtr personalEntryClass() { return EntityClass::named(QVACoreDataPersonalEntry::kEntityName); }

}  // namespace

// --- The scene ---

void AddPersonalEntryViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(
        kStoryboardIdentifier, [](uikit::UIStoryboard&) { return std::make_shared<AddPersonalEntryViewController>(); },
        buildView);
    storyboard.addScene(kNavigationStoryboardIdentifier, [](uikit::UIStoryboard& board) {
        auto holder = std::make_shared<CustomNavigationController>(CustomNavigationController::FromInterfaceFile{});
        holder->setViewControllers({board.instantiateViewControllerWithIdentifier(kStoryboardIdentifier)}, false);
        return std::static_pointer_cast<uikit::UIViewController>(holder);
    });
    storyboard.addPrototypeCell(kStoryboardIdentifier, PersonalEntryDatesTableViewCell::kCellIdentifier,
                                [] { return PersonalEntryDatesTableViewCell::makeCell(); });

    // The form always stands in a navigation controller (the phone's, or its
    // own in the pad's popover): the dates screen is pushed there.
    uikit::UIStoryboardSegueDefinition changeDates;
    changeDates.identifier = ChangePersonalEntryDateViewController::kChangeDatesSegue;
    changeDates.kind = uikit::UIStoryboardSegueKind::Push;
    changeDates.destination = ChangePersonalEntryDateViewController::kStoryboardIdentifier;
    changeDates.trigger = {uikit::UIStoryboardSegueTrigger::Kind::TableCell,
                           PersonalEntryDatesTableViewCell::kCellIdentifier};
    storyboard.addSegue(kStoryboardIdentifier, changeDates);

    storyboard.addSegue(kStoryboardIdentifier, uikit::UIStoryboardSegueDefinition::unwind(kUnwindSegue, kUnwindAction));
}

std::shared_ptr<uikit::UIView> AddPersonalEntryViewController::buildView(uikit::UIViewController& owner,
                                                                         uikit::SceneOutlets& outlets) {
    auto& form = static_cast<AddPersonalEntryViewController&>(owner);
    auto weakForm = form.weakSelf();
    auto view = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, 320, 480});
    view->setBackgroundColor(graphics::Color::white());

    auto subject = outlets.connect(kSubjectOutlet, std::make_shared<uikit::UITextField>());
    subject->setPlaceholder(std::string(kSubjectPlaceholder));
    subject->setBorderStyle(uikit::UITextBorderStyle::RoundedRect);
    auto dates = outlets.connect(kDatesTableOutlet, std::make_shared<uikit::UITableView>());
    dates->setScrollEnabled(false);
    auto body = outlets.connect(kBodyOutlet, std::make_shared<uikit::UITextView>());
    auto placeholder = outlets.connect(kPlaceholderOutlet, std::make_shared<uikit::UILabel>());
    placeholder->setText(std::string(kPlaceholderText));
    placeholder->setTextColor(graphics::Color::gray(0.7));
    placeholder->setUserInteractionEnabled(false);
    auto counter = outlets.connect(kCounterOutlet, std::make_shared<uikit::UILabel>());
    counter->setText(counterText(0));
    counter->setTextColor(graphics::Color::gray(0.5));
    counter->setTextAlignment(uikit::NSTextAlignment::Right);
    for (const std::shared_ptr<uikit::UIView>& part :
         std::vector<std::shared_ptr<uikit::UIView>>{subject, dates, body, placeholder, counter})
        view->addSubview(part);

    auto save = uikit::UIBarButtonItem::withTitle(std::string(kAddTitle), uikit::UIBarButtonItemStyle::Done,
                                                  [weakForm](uikit::UIBarButtonItem& sender) {
                                                      if (auto screen = weakForm.lock())
                                                          screen->onAddEntryExecuted(sender.shared_from_this());
                                                  });
    auto cancel = uikit::UIBarButtonItem::withSystemItem(uikit::UIBarButtonSystemItem::Cancel,
                                                         [weakForm](uikit::UIBarButtonItem& sender) {
                                                             if (auto screen = weakForm.lock())
                                                                 screen->onCancelAddEntryExecuted(sender.shared_from_this());
                                                         });
    form.navigationItem()->setRightBarButtonItem(outlets.connect(kSaveButtonOutlet, save));
    form.navigationItem()->setLeftBarButtonItem(outlets.connect(kCancelButtonOutlet, cancel));

    form.subjectTextField_ = subject;
    form.datesTableView_ = dates;
    form.descriptionTextView_ = body;
    form.descriptionPlaceholderLabel_ = placeholder;
    form.charsCounterLabel_ = counter;
    form.saveButton_ = save;
    return view;
}

std::shared_ptr<uikit::UIBarButtonItem> AddPersonalEntryViewController::installOpeningButton(
    uikit::UIViewController& screen, std::function<std::optional<std::string>()> entryId,
    std::function<void()> onUnwind) {
    std::weak_ptr<uikit::UIViewController> weakScreen =
        std::static_pointer_cast<uikit::UIViewController>(screen.shared_from_this());
    const bool editing = static_cast<bool>(entryId);
    auto open = [weakScreen, entryId, editing](uikit::UIBarButtonItem& sender) {
        auto source = weakScreen.lock();
        if (!source) return;
        const char* identifier = editing ? kEditSegue : kAddSegue;
        const foundation::ObjectPtr senderObject = sender.shared_from_this();
        const bool pad = Utils::isIPad();
        auto navigation = source->navigationController();
        if (!pad && !navigation) return;
        // As a storyboard segue does, the screen may decline it.
        if (!source->shouldPerformSegueWithIdentifier(identifier, senderObject)) return;
        auto form = BaseViewController::instantiateViewController<AddPersonalEntryViewController>();
        if (!form) return;
        if (editing) form->setSelectionPropertyId(entryId());
        uikit::UIStoryboardSeguePtr segue;
        if (pad) {
            // A popover at the button, with a navigation controller of its
            // own for the form's bar and the dates screen.
            auto holder = std::make_shared<CustomNavigationController>(CustomNavigationController::FromInterfaceFile{});
            holder->setViewControllers({form}, false);
            segue = std::make_shared<uikit::StoryboardPopoverSegue>(identifier, source, holder, senderObject);
        } else {
            std::weak_ptr<uikit::UINavigationController> weakNavigation = navigation;
            segue = uikit::UIStoryboardSegue::segueWithIdentifier(identifier, source, form, [weakNavigation, form] {
                if (auto stack = weakNavigation.lock()) stack->pushViewController(form, true);
            });
        }
        source->prepareForSegue(*segue, senderObject);
        segue->perform();
    };
    auto item = editing ? uikit::UIBarButtonItem::withTitle(std::string(kEditButtonTitle),
                                                            uikit::UIBarButtonItemStyle::Plain, open)
                        : uikit::UIBarButtonItem::withImage(uikit::UIImage::imageNamed(kAddButtonImageName),
                                                            uikit::UIBarButtonItemStyle::Plain, open);
    screen.navigationItem()->setRightBarButtonItem(item);
    screen.addUnwindAction(kUnwindAction, [onUnwind = std::move(onUnwind)](uikit::UIStoryboardSegue&) {
        if (onUnwind) onUnwind();
    });
    return item;
}

// --- Life ---

AddPersonalEntryViewController::AddPersonalEntryViewController() {
    setEntityName(std::string(QVACoreDataPersonalEntry::kEntityName));
    addUnwindAction(ChangePersonalEntryDateViewController::kDoneUnwindAction,
                    [this](uikit::UIStoryboardSegue& segue) { unwindOnDoneChangeDate(segue); });
    addUnwindAction(ChangePersonalEntryDateViewController::kCancelUnwindAction,
                    [this](uikit::UIStoryboardSegue& segue) { unwindOnCancelChangeDate(segue); });
}

AddPersonalEntryViewController::~AddPersonalEntryViewController() = default;

std::weak_ptr<AddPersonalEntryViewController> AddPersonalEntryViewController::weakSelf() {
    return std::dynamic_pointer_cast<AddPersonalEntryViewController>(shared_from_this());
}

void AddPersonalEntryViewController::viewDidLoad() {
    editing_ = selectionPropertyId().has_value();
    auto self = weakSelf().lock();
    if (auto table = datesTableView()) {
        table->setDataSource(self);
        table->setDelegate(self);
    }
    if (auto body = descriptionTextView()) body->setDelegate(self);
    DetailsBaseViewController::viewDidLoad();
    configureDatesRange();
    if (editing_) {
        if (auto save = saveButton()) save->setTitle(std::string(kSaveTitle));
    } else {
        initializeData();
        if (auto save = saveButton()) save->setTitle(std::string(kAddTitle));
    }
}

void AddPersonalEntryViewController::viewDidLayoutSubviews() {
    DetailsBaseViewController::viewDidLayoutSubviews();
    const auto bounds = view()->bounds();
    const double width = bounds.size.width - 2 * kMargin;
    double y = kMargin;
    if (auto subject = subjectTextField()) subject->setFrame({kMargin, y, width, 31});
    y += 31 + kMargin;
    if (auto table = datesTableView()) table->setFrame({0, y, bounds.size.width, PersonalEntryDatesTableViewCell::kRowHeight});
    y += PersonalEntryDatesTableViewCell::kRowHeight + kMargin;
    const double bodyHeight = 120;
    if (auto body = descriptionTextView()) body->setFrame({kMargin, y, width, bodyHeight});
    if (auto placeholder = descriptionPlaceholderLabel()) placeholder->setFrame({kMargin + 5, y + 8, width - 10, 18});
    y += bodyHeight + 4;
    if (auto counter = charsCounterLabel()) counter->setFrame({kMargin, y, width, 18});
}

void AddPersonalEntryViewController::viewDidAppear(bool animated) {
    DetailsBaseViewController::viewDidAppear(animated);
    // A form in a popover must not let taps through to the screen below.
    if (Utils::isIOS8OrMore())
        if (auto popover = presentingPopoverController()) popover->setPassthroughViews({});
}

void AddPersonalEntryViewController::configureDatesRange() {
    auto range = FetchRequestUtils::getMeetingDatesRangeForAuthToken(
        authenticationCode(), ApplicationSettingsStore::sharedApplicationSettingsStore().currentEventId());
    datesRange_.clear();
    if (range) datesRange_ = {range->start, range->end};
}

void AddPersonalEntryViewController::initializeData() {
    if (datesRange_.size() < 2) {
        auto weak = weakSelf();
        auto alert = UIBlockAlertView::initWithTitle(std::string(kNoDatesAlertTitle), std::nullopt);
        alert->addButtonWithTitle("OK", [weak](uikit::UIAlertView&) {
            auto form = weak.lock();
            if (!form) return;
            if (Utils::isIPad())
                form->goAtHomeHome(true);
            else
                form->goBack();
        });
        alert->show();
        return;
    }
    const Date now = DateHelper::dateToActivityLocalTime(Date::now());
    const foundation::Calendar calendar(DateHelper::currentMeetingTimeZone());
    const Date first = datesRange_.front();
    const Date last = datesRange_.back();
    if (first < now && last > now) {
        selectedDate_ = now;
        startTime_ = now;
        // An hour later, but never past the day's end: an entry keeps to one day.
        Date end = now.dateByAddingTimeInterval(kOneHour);
        auto today = calendar.components(now);
        if (calendar.components(end).day != today.day) {
            today.hour = 23;
            today.minute = 59;
            today.second = 0;
            end = calendar.dateFromComponents(today).value_or(now);
        }
        endTime_ = end;
    } else {
        auto fields = calendar.components(first);
        fields.hour = 7;
        fields.minute = 0;
        fields.second = 0;
        const Date start = calendar.dateFromComponents(fields).value_or(first);
        selectedDate_ = first;
        startTime_ = start;
        endTime_ = start.dateByAddingTimeInterval(kOneHour);
    }
    if (auto table = datesTableView()) table->reloadData();
}

void AddPersonalEntryViewController::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    if (!object) {
        makeReadOnly();
        auto weak = weakSelf();
        auto alert = UIBlockAlertView::initWithTitle(std::nullopt, std::string(kGoneMessage));
        alert->addButtonWithTitle("OK", [weak](uikit::UIAlertView&) {
            if (auto form = weak.lock()) form->closePersonalEntry();
        });
        alert->show();
        return;
    }
    const auto start = DateHelper::dateFromServer(object->valueForKey("startDatetime"), true);
    selectedDate_ = start;
    startTime_ = start;
    endTime_ = DateHelper::dateFromServer(object->valueForKey("endDatetime"), true);
    const std::string body = textOf(*object, "sessionDescription").value_or("");
    if (auto placeholder = descriptionPlaceholderLabel()) placeholder->setHidden(!body.empty());
    if (auto bodyView = descriptionTextView()) bodyView->setText(body);
    if (auto subject = subjectTextField()) subject->setText(textOf(*object, "title"));
    if (auto counter = charsCounterLabel()) counter->setText(counterText(foundation::StringUtils::length16(body)));
    if (auto table = datesTableView()) table->reloadData();
}

void AddPersonalEntryViewController::makeReadOnly() {
    if (auto table = datesTableView()) table->setUserInteractionEnabled(false);
    if (auto subject = subjectTextField()) subject->setEnabled(false);
    if (auto body = descriptionTextView()) body->setEditable(false);
}

// --- Saving ---

namespace {
// Main thread only, as the forms and their completions are.
int personalEntrySavesInProgress = 0;
}  // namespace

int AddPersonalEntryViewController::savesInProgress() { return personalEntrySavesInProgress; }

void AddPersonalEntryViewController::onAddEntryExecuted(const foundation::ObjectPtr& sender) {
    (void)sender;
    // A second tap while the first is on its way would post the entry twice.
    if (saving_) return;
    auto field = subjectTextField();
    const Text subject = field ? field->text() : std::nullopt;
    if (!subject || foundation::StringUtils::trim(*subject).empty()) {
        Utils::displayAlertViewWithMessage(std::string(kSubjectMandatoryMessage), std::string(kErrorTitle));
        return;
    }
    AnalyticsUtils::trackEventWithName(kAddEvent);
    if (!selectedDate_ || !startTime_ || !endTime_) return;
    const foundation::Calendar calendar(DateHelper::currentMeetingTimeZone());
    const auto start = dayAtTimeOf(calendar, *selectedDate_, *startTime_);
    const auto end = dayAtTimeOf(calendar, *selectedDate_, *endTime_);
    if (!start || !end) return;
    // The date screen refuses such times; whatever set them, none is sent.
    if (ChangePersonalEntryDateViewController::startIsAfterEnd(*start, *end)) {
        Utils::displayAlertViewWithMessage(std::string(ChangePersonalEntryDateViewController::kStartAfterEndMessage),
                                           std::string(ChangePersonalEntryDateViewController::kErrorTitle));
        return;
    }
    if (editing_) {
        updateEntryWithStartDate(*start, *end);
        return;
    }
    startProgress();
    saving_ = true;
    ++personalEntrySavesInProgress;
    const Text token = authenticationCode();
    const Text eventId = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEventId();
    auto body = descriptionTextView();
    auto form = weakSelf();
    QVAApiManager::sharedApiManager().addToAgendaPersonalEntryWithSubject(
        subject, personalEntryStringDateFromDate(*start), personalEntryStringDateFromDate(*end),
        body ? Text(body->text()) : std::nullopt, token, eventId,
        [form, token, eventId](const foundation::ErrorPtr& error, const foundation::Value& result) {
            auto entry = result.objectAs<QVAPersonalEntry>();
            if (!error && entry) {
                storeEntry(entry, std::nullopt, form, token, eventId);
                return;
            }
            --personalEntrySavesInProgress;
            auto screen = form.lock();
            if (!screen) return;
            screen->saving_ = false;
            Utils::displayAlertViewWithMessage(serviceMessage(error), std::string(kAddFailedTitle));
            screen->stopProgress();
        });
}

void AddPersonalEntryViewController::updateEntryWithStartDate(Date startDate, Date endDate) {
    startProgress();
    saving_ = true;
    ++personalEntrySavesInProgress;
    AnalyticsUtils::trackEventWithName(kUpdateEvent);
    const Text entryId = selectionPropertyId();
    const Text token = authenticationCode();
    const Text eventId = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEventId();
    auto field = subjectTextField();
    auto body = descriptionTextView();
    auto form = weakSelf();
    QVAApiManager::sharedApiManager().updatePersonalEntryWithId(
        entryId, field ? field->text() : std::nullopt, personalEntryStringDateFromDate(startDate),
        personalEntryStringDateFromDate(endDate), body ? Text(body->text()) : std::nullopt, token, eventId,
        [form, entryId, token, eventId](const foundation::ErrorPtr& error, const foundation::Value& result) {
            auto entry = result.objectAs<QVAPersonalEntry>();
            if (!error && entry) {
                storeEntry(entry, entryId, form, token, eventId);
                return;
            }
            --personalEntrySavesInProgress;
            auto screen = form.lock();
            if (!screen) return;
            screen->saving_ = false;
            Utils::displayAlertViewWithMessage(serviceMessage(error), std::string(kEditFailedTitle));
            screen->stopProgress();
        });
}

void AddPersonalEntryViewController::storeEntry(const std::shared_ptr<QVAPersonalEntry>& entry,
                                                const Text& replacedId,
                                                std::weak_ptr<AddPersonalEntryViewController> form, const Text& token,
                                                const Text& eventId) {
    const bool replacing = replacedId.has_value();
    auto saved = [form, token, eventId, replacing](const foundation::ErrorPtr& error, const foundation::Value&) {
        if (error) foundation::Log("Personal entry not stored: %@", error->description());
        --personalEntrySavesInProgress;
        auto screen = form.lock();
        if (replacing) {
            mirrorAgendaIfSynced(token, eventId);
            if (!screen) return;
            screen->stopProgress();
            screen->closePersonalEntry();
            return;
        }
        if (screen) {
            screen->stopProgress();
            screen->closePersonalEntry();
        }
        mirrorAgendaIfSynced(token, eventId);
    };
    auto& storage = StorageManager::sharedStorageManager();
    if (replacing)
        storage.deleteAndAddItemsToCoreData({entry}, personalEntryClass(),
                                            coredata::Predicate::withFormat("itemId = %@", foundation::Value(*replacedId)),
                                            token, eventId, saved);
    else
        storage.addItemsToCoreData({entry}, personalEntryClass(), token, eventId, saved);
}

void AddPersonalEntryViewController::mirrorAgendaIfSynced(const Text& token, const Text& eventId) {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    if (!settings.syncWithCalendar()) return;
    auto calendars = ApplicationService::syncCalendarService();
    if (!calendars) return;
    calendars->syncMyAgendaWithDeviceCalendar(calendars->getCalendarWithIdentifier(settings.calendarIdentifier()),
                                              token, eventId, nullptr);
}

void AddPersonalEntryViewController::onCancelAddEntryExecuted(const foundation::ObjectPtr& sender) {
    (void)sender;
    closePersonalEntry();
}

void AddPersonalEntryViewController::closePersonalEntry() {
    // A screen that opened the form without taking its unwind still loses it.
    if (!uikit::StoryboardUnwindSegue::findDestination(*this, kUnwindAction, nullptr)) {
        if (auto navigation = navigationController(); navigation && navigation->topViewController().get() == this)
            navigation->popViewControllerAnimated(true);
        return;
    }
    performSegueWithIdentifier(kUnwindSegue, nullptr);
}

std::string AddPersonalEntryViewController::personalEntryStringDateFromDate(Date date) const {
    return DateHelper::dateStringToActivityLocalTime(date);
}

// --- The date-change screen ---

void AddPersonalEntryViewController::prepareForSegue(uikit::UIStoryboardSegue& segue,
                                                     const foundation::ObjectPtr& sender) {
    DetailsBaseViewController::prepareForSegue(segue, sender);
    if (segue.identifier() != ChangePersonalEntryDateViewController::kChangeDatesSegue) return;
    auto dates = std::dynamic_pointer_cast<ChangePersonalEntryDateViewController>(segue.destinationViewController());
    if (!dates) return;
    dates->setSelectedDate(selectedDate_);
    dates->setStartTime(startTime_);
    dates->setEndTime(endTime_);
    dates->setDatesRange(datesRange_);
}

void AddPersonalEntryViewController::unwindOnDoneChangeDate(uikit::UIStoryboardSegue& segue) {
    auto dates = std::dynamic_pointer_cast<ChangePersonalEntryDateViewController>(segue.sourceViewController());
    if (!dates) return;
    selectedDate_ = dates->selectedDate();
    startTime_ = dates->startTime();
    endTime_ = dates->endTime();
    if (auto table = datesTableView()) table->reloadData();
}

void AddPersonalEntryViewController::unwindOnCancelChangeDate(uikit::UIStoryboardSegue& segue) { (void)segue; }

// --- The dates table ---

int64_t AddPersonalEntryViewController::tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) {
    (void)tableView, (void)section;
    return 1;
}

uikit::UITableViewCellPtr AddPersonalEntryViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<PersonalEntryDatesTableViewCell>(
        tableView.dequeueReusableCellWithIdentifier(PersonalEntryDatesTableViewCell::kCellIdentifier, indexPath));
    if (!cell) cell = PersonalEntryDatesTableViewCell::makeCell();
    cell->date()->setText(selectedDate_ ? Text(DateHelper::programmeTitleForDate(*selectedDate_, true)) : std::nullopt);
    cell->startTime()->setText(startTime_ ? Text(DateHelper::programmeTimeForDate(*startTime_)) : std::nullopt);
    cell->endTime()->setText(endTime_ ? Text(DateHelper::programmeTimeForDate(*endTime_)) : std::nullopt);
    return cell;
}

std::optional<double> AddPersonalEntryViewController::tableViewHeightForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    (void)tableView, (void)indexPath;
    return PersonalEntryDatesTableViewCell::kRowHeight;
}

void AddPersonalEntryViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                      const uikit::NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
}

// --- The body ---

bool AddPersonalEntryViewController::textViewShouldChangeTextInRange(uikit::UITextView& view, uikit::NSRange range,
                                                                     const std::string& replacement) {
    const size_t current = foundation::StringUtils::length16(view.text());
    const size_t replaced = std::min(range.length, current);
    return current - replaced + foundation::StringUtils::length16(replacement) <= static_cast<size_t>(kBodyLimit);
}

void AddPersonalEntryViewController::textViewDidChange(uikit::UITextView& view) {
    (void)view;
    bodyChanged();
}

void AddPersonalEntryViewController::bodyChanged() {
    auto body = descriptionTextView();
    const std::string text = body ? body->text() : std::string();
    if (auto placeholder = descriptionPlaceholderLabel()) placeholder->setHidden(!text.empty());
    if (auto counter = charsCounterLabel()) counter->setText(counterText(foundation::StringUtils::length16(text)));
}

void AddPersonalEntryViewController::textViewDidBeginEditing(uikit::UITextView& view) {
    (void)view;
    if (auto placeholder = descriptionPlaceholderLabel()) placeholder->setHidden(true);
}

void AddPersonalEntryViewController::textViewDidEndEditing(uikit::UITextView& view) {
    if (auto placeholder = descriptionPlaceholderLabel()) placeholder->setHidden(!view.text().empty());
}
