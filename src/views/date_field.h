#pragma once

class QDateEdit;
class QLabel;

namespace zeb {

// Makes `edit` a date field a person can type or paste a whole date into: it tells its date
// once the typing ends (Enter, or the focus leaving), not at each digit; Ctrl+V takes a date
// written as 13/04/2016, 13.4.2016, 13-04-2016, 2016-04-13 or 13042016; and `weekday` names the
// day of the week of the date shown.
void makeDateField(QDateEdit* edit, QLabel* weekday);

} // namespace zeb
