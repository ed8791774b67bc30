// Set-up of the diagram library; filled as the library grows.
