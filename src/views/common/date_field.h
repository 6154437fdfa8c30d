#pragma once

class QDateEdit;
class QLabel;

namespace zeb {

// Makes `edit` a date field a person can type or paste a whole date into: a date typed over the
// selected text or from its first section, or pasted, is read whole (13/04/2016, 13.4.16,
// 13-04-2016, 2016-04-13, 13042016; "13" or "13/4" keep the rest), once its year is complete or
// at Enter or when the focus leaves, not at each digit; `weekday` names the day of the week of
// the date shown.
void makeDateField(QDateEdit* edit, QLabel* weekday);

} // namespace zeb
