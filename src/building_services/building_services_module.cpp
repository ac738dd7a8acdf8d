// Window library building_services.
