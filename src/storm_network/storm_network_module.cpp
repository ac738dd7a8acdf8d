// Window library storm_network.
