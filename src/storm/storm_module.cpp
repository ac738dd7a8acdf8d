// Window library storm.
