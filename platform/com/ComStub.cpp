// Filled by the COM layer.
