# Installs the game, its data, launcher, desktop entry, icons and metadata; builds the Debian package.
