# Measures the media as the player hears them: loudness at the game's volumes.
