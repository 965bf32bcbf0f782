#pragma once

namespace vendalise {

class App;

// What both registers should hold, each and together, read afresh from
// their ledgers; printed on request.
void SommeCaisses(App& app);

} // namespace vendalise
