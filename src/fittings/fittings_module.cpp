// Window library fittings.
