// The logging library; filled by its layer.
