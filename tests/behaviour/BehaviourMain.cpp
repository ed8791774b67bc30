// The behaviour tests share one program; each group of dialogs adds its own source files.
