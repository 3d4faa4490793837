#pragma once

// How the operator page groups its tree.
enum ViewMode { GroupByUnion = 0, GroupByOperator = 1 };
